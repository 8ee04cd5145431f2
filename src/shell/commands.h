// The commands of the main window. Every menu item and toolbar button names
// one in its table (menu_table.h, toolbar.h); the window binds each command to
// one call into the core. A command that is not yet built stands in
// kCommandsNotYetBuilt: its items are present and do nothing.
#pragma once

#include <algorithm>
#include <iterator>

namespace qw::shell {

enum class Command {
  kNone,  // a submenu, a separator, or an item without an operation
  // File
  kNew,
  kOpenBas,
  kOpenPrg,
  kOpenFrm,
  kOpenVbp,
  kOpenMak,
  kOpenCls,
  kOpenAll,
  kOpenBasModule,
  kOpenFrmModule,
  kOpenClsModule,
  kOpenPrgModule,
  kClose,
  kSave,
  kSaveAs,
  kPrint,
  kExit,
  // Edit
  kCut,
  kCopy,
  kConcatenate,
  kClearClipboard,
  kPaste,
  kDeleteAllText,
  kSelectAll,
  kFind,
  kFindNext,
  kReplace,
  // Options
  kComment,
  kUncomment,
  kIndent,
  kConvert,
};

// The commands whose operations come with later work: find and replace.
inline constexpr Command kCommandsNotYetBuilt[] = {Command::kFind, Command::kFindNext,
                                                   Command::kReplace};

constexpr bool IsNotYetBuilt(Command c) {
  return std::find(std::begin(kCommandsNotYetBuilt), std::end(kCommandsNotYetBuilt), c) !=
         std::end(kCommandsNotYetBuilt);
}

}  // namespace qw::shell
