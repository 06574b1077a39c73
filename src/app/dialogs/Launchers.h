#pragma once
// Commands that hand a page or a file to the desktop: Help (and F1) opens the HTML
// help at "Introduction.htm", Update opens the product web page, View log opens the
// activity log in the desktop's text handler. Opening goes through one replaceable
// function so tests can see what would be opened.

#include <QUrl>
#include <filesystem>
#include <functional>

class QWidget;

namespace vellumo::app::dialogs {

// Opens a URL with the desktop's handler; true when a handler was started.
using UrlOpener = std::function<bool(const QUrl&)>;
// Replaces the opener (empty: the desktop services one); returns the previous one.
UrlOpener SetUrlOpener(UrlOpener opener);
bool OpenUrl(const QUrl& url);

// Help: opens the entry page of the help. Tells the user when the pages are missing
// or no browser could be started.
bool OpenHelp(QWidget* owner);

// Update: opens the product web page, or shows the "Unknown error" message.
bool OpenProductPage(QWidget* owner);

// View log: opens `logFile` with the desktop's handler for text, or shows "There is
// not log file now!" when it cannot be read.
bool ViewLog(QWidget* owner, const std::filesystem::path& logFile);

}  // namespace vellumo::app::dialogs
