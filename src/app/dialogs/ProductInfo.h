#pragma once
// Facts about the product shown by About and used by Update. The web addresses are
// set once, at build time (CMake cache variables VELLUMO_HOMEPAGE and
// VELLUMO_CONTACT_PAGE).

#include <QString>

namespace vellumo::app::dialogs {

// The product web page.
QString ProductHomepage();
// The maker's contact page.
QString ContactPage();
// "Version 1.0".
QString VersionText();

}  // namespace vellumo::app::dialogs
