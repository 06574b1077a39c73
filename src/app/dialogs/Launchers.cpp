#include "app/dialogs/Launchers.h"

#include <QDesktopServices>
#include <QWidget>
#include <fstream>
#include <system_error>

#include "app/dialogs/HelpLocation.h"
#include "app/dialogs/MessageBoxes.h"
#include "app/dialogs/ProductInfo.h"
#include "app/dialogs/Texts.h"
#include "base/QtText.h"

namespace vellumo::app::dialogs {
namespace {

bool OpenWithDesktop(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

UrlOpener& CurrentOpener() {
    static UrlOpener opener = OpenWithDesktop;
    return opener;
}

QUrl UrlOfFile(const std::filesystem::path& file) {
    return QUrl::fromLocalFile(base::ToQString(file));
}

// The message for an address no browser could be started for.
void ReportNoBrowser(QWidget* owner, const QString& address) {
    const QByteArray utf8 = address.toUtf8();
    std::string text(texts::TrUtf8(texts::kBrowserFailedBefore));
    text.append(utf8.constData(), static_cast<size_t>(utf8.size()));
    text.append(texts::TrUtf8(texts::kBrowserFailedAfter));
    ShowMessage(owner, text, texts::TrUtf8(texts::kUnknownError), ui::MessageStyle::Error);
}

// The file can be opened for reading as an existing regular file.
bool CanReadFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) {
        return false;
    }
    std::ifstream probe(file, std::ios::binary);
    return probe.is_open();
}

}  // namespace

UrlOpener SetUrlOpener(UrlOpener opener) {
    UrlOpener previous = std::move(CurrentOpener());
    CurrentOpener() = opener ? std::move(opener) : UrlOpener(OpenWithDesktop);
    return previous;
}

bool OpenUrl(const QUrl& url) {
    return CurrentOpener()(url);
}

bool OpenHelp(QWidget* owner) {
    const auto page = FindHelpEntryPage();
    if (!page) {
        ShowMessage(owner, texts::TrUtf8(texts::kHelpNotFound), texts::TrUtf8(texts::kError),
                    ui::MessageStyle::Error);
        return false;
    }
    const QUrl url = UrlOfFile(*page);
    if (!OpenUrl(url)) {
        // A local page needs no browser in particular: say what is missing and where
        // the page is, so it can be opened by hand.
        ShowMessage(owner, texts::TrUtf8(texts::kNoHelpViewer) + base::Utf8FromPath(*page),
                    texts::TrUtf8(texts::kHelpCaption), ui::MessageStyle::Information);
        return false;
    }
    return true;
}

bool OpenProductPage(QWidget* owner) {
    const QString address = ProductHomepage();
    if (!OpenUrl(QUrl(address))) {
        ReportNoBrowser(owner, address);
        return false;
    }
    return true;
}

bool ViewLog(QWidget* owner, const std::filesystem::path& logFile) {
    if (!CanReadFile(logFile)) {
        ShowMessage(owner, texts::TrUtf8(texts::kNoLogFile), texts::TrUtf8(texts::kMessage),
                    ui::MessageStyle::Information);
        return false;
    }
    return OpenUrl(UrlOfFile(logFile));
}

}  // namespace vellumo::app::dialogs
