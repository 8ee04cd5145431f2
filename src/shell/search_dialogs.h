// The search dialogs of the Edit menu. frmFind takes the text to find, the
// direction and Match Case; frmReplace ("Find & Replace") the text to find,
// its replacement and Case Sensitive. Each is modal, created afresh for every
// showing and gone when it closes; it reports how it was left as a plain
// answer and never touches the document. Texts are shown, and typed characters
// become bytes, in the code page of the pane.
#pragma once

#include <QDialog>

#include "platform/port.h"
#include "shell/code_page.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qw::shell {

class frmFind : public QDialog {
  Q_OBJECT

 public:
  // The dialog with `text` in its text box, Down chosen, Match Case not ticked.
  explicit frmFind(const std::string& text, const CodePage& page = CodePage::Default(),
                   QWidget* parent = nullptr);

  // How the dialog was left, and what its controls held then.
  FindDialogAnswer answer() const;

 protected:
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Leave(DialogClose how);

  const CodePage& page_;
  QLineEdit* text1_;
  QCheckBox* chk_case_;
  QRadioButton* opt_up_;
  QRadioButton* opt_down_;
  QPushButton* cmd_find_;
  QPushButton* cmd_cancel_;
  DialogClose closed_ = DialogClose::kCloseBox;
  bool case_clicked_ = false;
};

class frmReplace : public QDialog {
  Q_OBJECT

 public:
  explicit frmReplace(const CodePage& page = CodePage::Default(), QWidget* parent = nullptr);

  // How the dialog was left: by Replace, or by anything else (a cancellation).
  ReplaceDialogAnswer answer() const;

 private:
  const CodePage& page_;
  QLineEdit* find_what_;
  QLineEdit* replace_with_;
  QCheckBox* case_sensitive_;
  bool replaced_ = false;
};

}  // namespace qw::shell
