// Every message box, question and file dialog of the program goes through one IPrompter,
// so that tests can read what the user would be told and give the answers.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace velquist {

enum class PromptIcon { Error, Exclamation, Information, Warning, Question };

// A file to open or a name to save under, as the file dialog asks for it.
struct FileRequest {
  bool save = false;      // a Save As dialog that confirms replacing a file; else Open
  QString title;          // empty: "Save As" or "Open"
  QString folder;         // where the dialog starts; empty: its own choice
  QString fileName;       // the name proposed (Save As)
  QString defaultSuffix;  // added to a name given without one
  QStringList filters;    // "Saved screens (*.json)", ...
  int filter = 0;         // the filter selected first
  // Save As: the path the program will write for a chosen path and filter (the chosen one
  // when empty). The dialog asks before replacing that file and refuses one that cannot
  // be written, so that it never returns a path the program cannot write.
  std::function<QString(const QString& path, int filter)> finalPath;
};

struct FileAnswer {
  QString path;
  int filter = 0;  // the filter in use when the user chose
};

class IPrompter {
 public:
  virtual ~IPrompter() = default;
  // A message with an OK button, captioned "Velquist".
  virtual void Show(QWidget* parent, PromptIcon icon, const QString& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool Ask(QWidget* parent, PromptIcon icon, const QString& text) = 0;
  // A file dialog; false when it was cancelled. An Open dialog accepts existing files only.
  virtual bool AskFile(QWidget* parent, const FileRequest& request, FileAnswer& answer) = 0;
  // The sound of a refused command.
  virtual void Beep() = 0;
};

// The prompter in use; message boxes unless a test installed its own.
IPrompter& Prompter();
// Installs prompter (not owned) or, with nullptr, the message boxes again.
void SetPrompter(IPrompter* prompter);

}  // namespace velquist
