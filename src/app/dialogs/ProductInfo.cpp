#include "app/dialogs/ProductInfo.h"

#include "app/dialogs/Texts.h"

#ifndef VELLUMO_HOMEPAGE
#error "VELLUMO_HOMEPAGE is set by the build"
#endif
#ifndef VELLUMO_CONTACT_PAGE
#error "VELLUMO_CONTACT_PAGE is set by the build"
#endif
#ifndef VELLUMO_VERSION_TEXT
#error "VELLUMO_VERSION_TEXT is set by the build"
#endif

namespace vellumo::app::dialogs {

QString ProductHomepage() {
    return QStringLiteral(VELLUMO_HOMEPAGE);
}
QString ContactPage() {
    return QStringLiteral(VELLUMO_CONTACT_PAGE);
}
QString VersionText() {
    return texts::Tr(texts::kVersion).arg(QStringLiteral(VELLUMO_VERSION_TEXT));
}

}  // namespace vellumo::app::dialogs
