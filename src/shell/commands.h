// The commands of the main window. Every menu item and toolbar button names
// one in its table (menu_table.h, toolbar.h); the window binds each command to
// one call into the core.
#pragma once

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
  kFindInModule,
  kReplace,
  // Options
  kComment,
  kUncomment,
  kIndent,
  kConvert,
  kListAllProcedures,
};

}  // namespace qw::shell
