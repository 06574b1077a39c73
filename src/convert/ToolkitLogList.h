#pragma once
// The activity log's on-screen list, as the front end's toolkit shows it.

#include "shell/ActivityLog.h"
#include "ui/Toolkit.h"

namespace vellumo::convert {

class ToolkitLogList : public shell::LogListView {
  public:
    explicit ToolkitLogList(ui::Toolkit& toolkit) : toolkit_(toolkit) {}
    void AppendLogListLine(std::string_view line) override { toolkit_.AppendLogListLine(line); }
    int LogListCount() override { return toolkit_.LogListCount(); }
    void DeleteLogListLine(int index) override { toolkit_.DeleteLogListLine(index); }

  private:
    ui::Toolkit& toolkit_;
};

}  // namespace vellumo::convert
