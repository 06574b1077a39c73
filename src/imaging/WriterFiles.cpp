#include "imaging/WriterFiles.h"

#include <QFile>
#include <QSaveFile>
#include <cmath>

namespace vellumo::imaging {

QString QtFilePath(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(path.native().c_str());
#endif
}

namespace {

// The device's own reason when it has one (a full disk says so), else the writer's.
std::string Reason(const QFileDevice& file, const std::string& writers) {
    return file.error() != QFileDevice::NoError ? file.errorString().toStdString() : writers;
}

}  // namespace

WriteOutcome WriteWholeFile(const WriteTarget& target,
                            const std::function<std::string(QIODevice&)>& fill) {
    if (target.descriptor >= 0) {
        QFile file;
        if (!file.open(target.descriptor, QIODevice::WriteOnly | QIODevice::Unbuffered,
                       QFileDevice::DontCloseHandle)) {
            return WriteOutcome{false, file.errorString().toStdString()};
        }
        const std::string why = fill(file);
        if (!why.empty()) {
            return WriteOutcome{false, Reason(file, why)};
        }
        if (!file.flush()) {
            return WriteOutcome{false, Reason(file, "the file could not be written")};
        }
        return WriteOutcome{true, {}};
    }
    QSaveFile file(QtFilePath(target.path));
    if (!file.open(QIODevice::WriteOnly)) {
        return WriteOutcome{false, file.errorString().toStdString()};
    }
    const std::string why = fill(file);
    if (!why.empty()) {
        const std::string reason = Reason(file, why);
        file.cancelWriting();
        return WriteOutcome{false, reason};
    }
    if (!file.commit()) {
        return WriteOutcome{false, file.errorString().toStdString()};
    }
    return WriteOutcome{true, {}};
}

bool WriteAll(QIODevice& device, const char* data, qint64 size) {
    while (size > 0) {
        const qint64 written = device.write(data, size);
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

int DotsPerMeter(double dotsPerInch) {
    const double perMeter = std::round(dotsPerInch / 0.0254);
    if (!(perMeter > 0)) {
        return 0;
    }
    return perMeter >= 2147483647.0 ? 2147483647 : static_cast<int>(perMeter);
}

}  // namespace vellumo::imaging
