// A prompter that records every message and answers questions with a set answer, file
// dialogs with the answers given in turn (or the test's own handler), and counts beeps.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

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
  bool AskFile(QWidget* parent, const FileRequest& request, FileAnswer& given) override {
    fileRequests.append(request);
    if (onFile) return onFile(parent, request, given);
    if (fileAnswers.isEmpty()) return false;
    given = fileAnswers.takeFirst();
    return true;
  }
  void Beep() override { ++beeps; }

  QList<PromptIcon> icons;
  QStringList texts;
  bool answer = false;
  QList<FileRequest> fileRequests;
  QList<FileAnswer> fileAnswers;  // none left: the dialog is cancelled
  // Answers instead of fileAnswers while set, e.g. by running the real dialog.
  std::function<bool(QWidget*, const FileRequest&, FileAnswer&)> onFile;
  int beeps = 0;
};

}  // namespace velquist::test
