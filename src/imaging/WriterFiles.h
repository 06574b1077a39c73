#pragma once
// Helpers the single-image writers share.

#include <QIODevice>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "imaging/PageWriters.h"

namespace vellumo::imaging {

// The path as Qt expects it, whatever the platform's native encoding.
QString QtFilePath(const std::filesystem::path& path);

// Opens the target, lets `fill` write the whole file and finishes it. `fill` returns
// empty on success, else why it failed; a failure of the file itself is told in the
// system's words. A path is written to a temporary file beside it that replaces it only
// when complete; a descriptor is written from its start and stays the caller's.
WriteOutcome WriteWholeFile(const WriteTarget& target,
                            const std::function<std::string(QIODevice&)>& fill);

// Writes all `size` bytes, going on after a short write so that the failure that stops
// it is the system's (a file-size limit first gives a short write, then the reason).
bool WriteAll(QIODevice& device, const char* data, qint64 size);

// Dots per inch as whole pixels per metre, as BMP headers and QImage keep them.
int DotsPerMeter(double dotsPerInch);

}  // namespace vellumo::imaging
