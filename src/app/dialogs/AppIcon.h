#pragma once
// The program's icon, in every size shipped, for the window and the About box.

#include <QIcon>

namespace vellumo::app::dialogs {

QIcon ApplicationIcon();

}  // namespace vellumo::app::dialogs
