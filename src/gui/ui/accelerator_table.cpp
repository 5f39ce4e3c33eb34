#include "gui/ui/accelerator_table.h"

#include <array>

#include "ui/chrome_commands.h"

namespace velquist {
namespace {

constexpr Qt::KeyboardModifiers None = Qt::NoModifier;
constexpr Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers Alt = Qt::AltModifier;

// Ctrl+Plus is typed on the "=" key without Shift; Qt reports Key_Equal for it on most
// layouts and Key_Plus on layouts with a plus key of its own, so both are listed. Keys of
// the numeric pad arrive as the same Qt keys (with the keypad flag, which is not compared),
// so Ctrl+Add, Ctrl+Subtract and Ctrl+pad 0 need no entries of their own.
const std::array<Accelerator, 18> kTable = {{
    {Qt::Key_S, Ctrl, kCmdSaveScreen},
    {Qt::Key_O, Ctrl, kCmdOpenSavedScreen},
    {Qt::Key_F4, None, kCmdPresets},
    {Qt::Key_Left, Alt, kCmdBack},
    {Qt::Key_Right, Alt, kCmdForward},
    {Qt::Key_F5, None, kCmdRefresh},
    {Qt::Key_R, Ctrl, kCmdRefresh},
    {Qt::Key_E, Ctrl, kCmdExportResults},
    {Qt::Key_P, Ctrl, kCmdPrintResults},
    {Qt::Key_B, Ctrl, kCmdOpenInBrowser},
    {Qt::Key_F1, None, kCmdHelpGuide},
    {Qt::Key_1, Ctrl, kCmdStocks},
    {Qt::Key_2, Ctrl, kCmdEtfs},
    {Qt::Key_Tab, Ctrl, kCmdNextScreener},
    {Qt::Key_Equal, Ctrl, kCmdZoomIn},
    {Qt::Key_Plus, Ctrl, kCmdZoomIn},
    {Qt::Key_Minus, Ctrl, kCmdZoomOut},
    {Qt::Key_0, Ctrl, kCmdActualSize},
}};

}  // namespace

std::span<const Accelerator> Accelerators() { return kTable; }

int FindAccelerator(int key, Qt::KeyboardModifiers modifiers) {
  const Qt::KeyboardModifiers mask = Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
  const Qt::KeyboardModifiers pressed = modifiers & mask;
  for (const Accelerator& entry : kTable) {
    if (entry.key == key && entry.modifiers == pressed) {
      return entry.command;
    }
  }
  return 0;
}

}  // namespace velquist
