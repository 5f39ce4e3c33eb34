// A prompter that records every message and answers questions with a set answer, and
// file dialogs with the answers given in turn.
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
  bool AskFile(QWidget*, const FileRequest& request, FileAnswer& given) override {
    fileRequests.append(request);
    if (fileAnswers.isEmpty()) return false;
    given = fileAnswers.takeFirst();
    return true;
  }

  QList<PromptIcon> icons;
  QStringList texts;
  bool answer = false;
  QList<FileRequest> fileRequests;
  QList<FileAnswer> fileAnswers;  // none left: the dialog is cancelled
};

}  // namespace velquist::test
