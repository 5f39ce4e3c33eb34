// Every message box and question of the program goes through one IPrompter, so that
// tests can read what the user would be told and give the answers.
#pragma once

#include <QString>

class QWidget;

namespace velquist {

enum class PromptIcon { Error, Exclamation, Information, Warning };

class IPrompter {
 public:
  virtual ~IPrompter() = default;
  // A message with an OK button, captioned "Velquist".
  virtual void Show(QWidget* parent, PromptIcon icon, const QString& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool Ask(QWidget* parent, PromptIcon icon, const QString& text) = 0;
};

// The prompter in use; message boxes unless a test installed its own.
IPrompter& Prompter();
// Installs prompter (not owned) or, with nullptr, the message boxes again.
void SetPrompter(IPrompter* prompter);

}  // namespace velquist
