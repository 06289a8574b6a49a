#pragma once
// What the report viewers need of the window that hosts them: the frame shows
// each viewer as one of its child windows, and owns the printer that its
// printer setup configures. The frame implements this and installs itself;
// the report code reaches the frame only through it, so a viewer also runs
// without a frame (tests, tools), standing alone.
class QPrinter;
class QWidget;

class ReportHost {
public:
    virtual ~ReportHost() = default;

    /// Show a report viewer as a child window of the host; it becomes the
    /// active child.
    virtual void addReportWindow(QWidget *window) = 0;
    /// The printer that the host's printer setup configures.
    virtual QPrinter *printer() = 0;

    /// The installed host, or null when the viewers stand alone.
    static ReportHost *current();
    /// Install a host (null: none).
    static void install(ReportHost *host);
};
