#pragma once
// The prompt the benchmarks install: it answers every box at once, so that
// nothing waits for a person during a measurement, and counts the boxes, since
// a measured step must not have shown one.
#include "platform/prompt/Prompt.h"

class QuietPrompt : public Prompt::Backend {
public:
    int boxes = 0;
    Prompt::Answer message(const Prompt::Box &) override
    {
        ++boxes;
        return Prompt::Answer::OK;
    }
    QString input(const QString &, const QString &, const QString &) override
    {
        ++boxes;
        return QString();
    }
    int choose(const Prompt::ChoiceBox &box) override
    {
        ++boxes;
        return box.escapeButton;
    }
    QString file(const Prompt::FileRequest &) override { return QString(); }
    bool printerSetup(QPrinter &, const QString &) override
    {
        ++boxes;
        return false;
    }
    void beep() override {}
};
