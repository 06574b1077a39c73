#include "imaging/WriterFiles.h"

#include <QFile>
#include <cmath>

namespace vellumo::imaging {

QString QtFilePath(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(path.native().c_str());
#endif
}

int DotsPerMeter(double dotsPerInch) {
    const double perMeter = std::round(dotsPerInch / 0.0254);
    if (!(perMeter > 0)) {
        return 0;
    }
    return perMeter >= 2147483647.0 ? 2147483647 : static_cast<int>(perMeter);
}

}  // namespace vellumo::imaging
