#include "app/dialogs/AppIcon.h"

namespace vellumo::app::dialogs {

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/vellumo/icons/vellumo-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

}  // namespace vellumo::app::dialogs
