#include "cli/TerminalToolkit.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <cstring>

#include "base/Utf8Path.h"
#include "cli/PrintableName.h"

namespace vellumo::cli {
namespace {

constexpr int kBarCells = 24;

std::string_view BaseName(std::string_view path) {
    const size_t cut = path.find_last_of('/');
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// "page 3 of 12", in the user's language.
std::string PageOf(int page, int total) {
    return QCoreApplication::translate("vellumo-cli", "page %1 of %2")
        .arg(page)
        .arg(total)
        .toStdString();
}

bool IsYes(std::string_view reply) {
    while (!reply.empty() &&
           (reply.back() == '\n' || reply.back() == '\r' || reply.back() == ' ')) {
        reply.remove_suffix(1);
    }
    return reply == "y" || reply == "Y" || reply == "yes" || reply == "Yes" || reply == "YES";
}

// The log file's own lines are not shown again: the terminal has them already.
class SilentSink : public shell::LogSink {
  public:
    void LogLineAdded(std::string_view) override {}
};
SilentSink g_silentSink;

}  // namespace

TerminalToolkit::TerminalToolkit(std::FILE* err, std::FILE* in, const TerminalSettings& settings)
    : err_(err), in_(in), settings_(settings) {
    if (!settings.logFile.empty()) {
        log_ = std::make_unique<shell::ActivityLog>(g_silentSink,
                                                    base::PathFromUtf8(settings.logFile));
    }
}

void TerminalToolkit::SetStandardInputPath(std::string path) {
    std::lock_guard lock(mutex_);
    stdinPath_ = std::move(path);
}

void TerminalToolkit::Problem(std::string_view file, std::string_view reason) {
    std::string shown(file);
    {
        std::lock_guard lock(mutex_);
        if (!stdinPath_.empty() && file == stdinPath_) {
            shown = "-";
        }
    }
    Say(shown + ": " + std::string(reason));
}

void TerminalToolkit::Say(std::string_view line) {
    std::lock_guard lock(mutex_);
    PrintLineLocked("vellumo-cli: " + std::string(line));
    if (log_) {
        log_->AppendLogLine(Printable(line));
    }
}

void TerminalToolkit::ClearBarLocked() {
    if (barShown_) {
        std::fputs("\r\x1b[K", err_);
        barShown_ = false;
    }
}

void TerminalToolkit::DrawBarLocked() {
    if (!settings_.progressBar || settings_.quiet || total_ <= 0) {
        return;
    }
    // The range is 0 to 999, as the window's bar: 999 and above is full.
    const int filled = std::clamp(position_, 0, 999) * kBarCells / 999;
    std::string line = "[" + std::string(static_cast<size_t>(filled), '#') +
                       std::string(static_cast<size_t>(kBarCells - filled), '-') + "] " +
                       PageOf(page_, total_) + "  ";
    const size_t room = static_cast<size_t>(std::max(settings_.columns - 1, 0));
    std::string name = Printable(BaseName(currentFile_));
    if (line.size() + name.size() > room && room > line.size() + 3) {
        name = "..." + name.substr(name.size() - (room - line.size() - 3));
    }
    line += name;
    if (line.size() > room) {
        line.resize(room);
    }
    std::fputs("\r\x1b[K", err_);
    std::fputs(line.c_str(), err_);
    std::fflush(err_);
    barShown_ = true;
}

void TerminalToolkit::PrintLineLocked(std::string_view line) {
    ClearBarLocked();
    // Lines carry file names, and a name may hold any control character.
    const std::string shown = Printable(line);
    std::fwrite(shown.data(), 1, shown.size(), err_);
    std::fputc('\n', err_);
    DrawBarLocked();
    std::fflush(err_);
}

ui::Answer TerminalToolkit::MessageBox(std::string_view text, std::string_view caption,
                                       ui::MessageStyle style) {
    std::lock_guard lock(mutex_);
    ++messageCount_;
    std::string line =
        caption.empty() ? std::string(text) : std::string(caption) + ": " + std::string(text);
    if (ui::IsNotice(style)) {
        PrintLineLocked(line);
        return ui::Answer::Ok;
    }
    if (settings_.assumeYes) {
        return ui::Answer::Yes;
    }
    // A question nobody can answer is not asked; the caller says what was left alone.
    if (!settings_.askQuestions || in_ == nullptr) {
        return ui::Answer::No;
    }
    ClearBarLocked();
    line = Printable(line) + " [y/N] ";
    std::fputs(line.c_str(), err_);
    std::fflush(err_);
    std::array<char, 256> reply{};
    const bool read = std::fgets(reply.data(), static_cast<int>(reply.size()), in_) != nullptr;
    if (!read) {
        std::fputc('\n', err_);
    }
    DrawBarLocked();
    return read && IsYes(std::string_view(reply.data(), std::strlen(reply.data())))
               ? ui::Answer::Yes
               : ui::Answer::No;
}

void TerminalToolkit::ProgressChanged(int position) {
    std::lock_guard lock(mutex_);
    position_ = position;
    DrawBarLocked();
}

void TerminalToolkit::PageStarted(int index, int total, std::string_view path) {
    std::lock_guard lock(mutex_);
    page_ = index + 1;
    total_ = total;
    currentFile_ = !stdinPath_.empty() && path == stdinPath_ ? "-" : std::string(path);
    if (settings_.quiet) {
        return;
    }
    if (settings_.progressBar) {
        DrawBarLocked();
    } else {
        PrintLineLocked(PageOf(page_, total_) + ": " + currentFile_);
    }
}

void TerminalToolkit::LogLineAdded(std::string_view line) {
    std::lock_guard lock(mutex_);
    if (!settings_.quiet) {
        PrintLineLocked(line);
    }
}

void TerminalToolkit::FinishProgress() {
    std::lock_guard lock(mutex_);
    ClearBarLocked();
    std::fflush(err_);
}

int TerminalToolkit::messageCount() const {
    std::lock_guard lock(mutex_);
    return messageCount_;
}

}  // namespace vellumo::cli
