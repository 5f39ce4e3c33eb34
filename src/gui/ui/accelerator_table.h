// The main window's key table. The same table serves keys typed in the frame and keys
// typed in a page, so both run the same commands.
#pragma once

#include <Qt>
#include <span>

namespace velquist {

struct Accelerator {
  int key;                          // Qt::Key
  Qt::KeyboardModifiers modifiers;  // Ctrl, Shift and Alt must match exactly
  int command;
};

std::span<const Accelerator> Accelerators();

// The command of the first entry for key and modifiers, or 0. Only Ctrl, Shift and Alt
// of modifiers take part.
int FindAccelerator(int key, Qt::KeyboardModifiers modifiers);

}  // namespace velquist
