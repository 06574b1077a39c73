#pragma once
// The activity log's lines, reported to the front end as toolkit events.

#include "shell/ActivityLog.h"
#include "ui/Toolkit.h"

namespace vellumo::convert {

class ToolkitLogSink : public shell::LogSink {
  public:
    explicit ToolkitLogSink(ui::Toolkit& toolkit) : toolkit_(toolkit) {}
    void LogLineAdded(std::string_view line) override { toolkit_.LogLineAdded(line); }

  private:
    ui::Toolkit& toolkit_;
};

}  // namespace vellumo::convert
