#pragma once
// Helpers the single-image writers share.

#include <QString>
#include <filesystem>

namespace vellumo::imaging {

// The path as Qt expects it, whatever the platform's native encoding.
QString QtFilePath(const std::filesystem::path& path);

// Dots per inch as whole pixels per metre, as BMP headers and QImage keep them.
int DotsPerMeter(double dotsPerInch);

}  // namespace vellumo::imaging
