// A prompter that records every message and answers questions with a set answer.
#pragma once

#include <QString>
#include <QStringList>

#include "gui/ui/prompter.h"

namespace velquist::test {

class RecordingPrompter : public IPrompter {
 public:
  RecordingPrompter() { SetPrompter(this); }
  ~RecordingPrompter() override { SetPrompter(nullptr); }

  void Show(QWidget*, PromptIcon icon, const QString& text) override {
    icons.append(icon);
    texts.append(text);
  }
  bool Ask(QWidget*, PromptIcon icon, const QString& text) override {
    icons.append(icon);
    texts.append(text);
    return answer;
  }

  QList<PromptIcon> icons;
  QStringList texts;
  bool answer = false;
};

}  // namespace velquist::test
