#include "shell/search_dialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace qw::shell {

namespace {

std::string Bytes(const QString& s, const CodePage& page) {
  std::string bytes;
  page.FromUtf8(s.toUtf8().toStdString(), bytes);
  return bytes;
}

}  // namespace

frmFind::frmFind(const std::string& text, const CodePage& page, QWidget* parent)
    : QDialog(parent), page_(page) {
  setObjectName("frmFind");
  setWindowTitle("Find");
  setModal(true);

  // Everything stands on one raised panel.
  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Raised);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(panel);

  auto* label = new QLabel("Fi&nd What:", panel);
  label->setObjectName("Label1");
  text1_ = new QLineEdit(panel);
  text1_->setObjectName("Text1");
  label->setBuddy(text1_);
  chk_case_ = new QCheckBox("Match &Case", panel);
  chk_case_->setObjectName("chkCase");
  auto* frame = new QGroupBox("Direction", panel);
  frame->setObjectName("Frame1");
  opt_up_ = new QRadioButton("&Up", frame);
  opt_down_ = new QRadioButton("&Down", frame);
  opt_up_->setObjectName("optDirection");
  opt_down_->setObjectName("optDirection");
  opt_up_->setProperty("index", 0);
  opt_down_->setProperty("index", 1);
  opt_down_->setChecked(true);
  auto* directions = new QHBoxLayout(frame);
  directions->addWidget(opt_up_);
  directions->addWidget(opt_down_);
  cmd_find_ = new QPushButton("&Find", panel);
  cmd_find_->setObjectName("cmdFind");
  cmd_find_->setDefault(true);
  cmd_cancel_ = new QPushButton("&Cancel", panel);
  cmd_cancel_->setObjectName("cmdcancel");
  cmd_cancel_->setAutoDefault(false);

  auto* grid = new QGridLayout(panel);
  grid->addWidget(label, 0, 0);
  grid->addWidget(text1_, 0, 1, 1, 2);
  grid->addWidget(cmd_find_, 0, 3);
  grid->addWidget(chk_case_, 1, 0);
  grid->addWidget(frame, 1, 1, 1, 2);
  grid->addWidget(cmd_cancel_, 1, 3, Qt::AlignTop);

  connect(text1_, &QLineEdit::textChanged, this,
          [this](const QString& t) { cmd_find_->setEnabled(!t.isEmpty()); });
  connect(chk_case_, &QCheckBox::clicked, this, [this] { case_clicked_ = true; });
  connect(cmd_find_, &QPushButton::clicked, this, [this] { Leave(DialogClose::kAccept); });
  connect(cmd_cancel_, &QPushButton::clicked, this, [this] { Leave(DialogClose::kCancel); });

  cmd_find_->setEnabled(false);
  text1_->setText(QString::fromStdString(page.ToUtf8(text)));
}

FindDialogAnswer frmFind::answer() const {
  FindDialogAnswer a;
  a.closed = closed_;
  a.text = Bytes(text1_->text(), page_);
  a.match_case = chk_case_->isChecked();
  a.match_case_clicked = case_clicked_;
  a.direction = opt_down_->isChecked() ? 1 : 0;
  return a;
}

void frmFind::Leave(DialogClose how) {
  closed_ = how;
  done(how == DialogClose::kAccept ? Accepted : Rejected);
}

void frmFind::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // Whenever the dialog becomes the active window, the text box has the focus.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) text1_->setFocus();
}

void frmFind::keyPressEvent(QKeyEvent* event) {
  // Esc is the Cancel button's key: it keeps the text box's text.
  if (event->key() == Qt::Key_Escape) {
    cmd_cancel_->click();
    return;
  }
  QDialog::keyPressEvent(event);
}

frmReplace::frmReplace(const CodePage& page, QWidget* parent) : QDialog(parent), page_(page) {
  setObjectName("frmReplace");
  setWindowTitle("Find & Replace");
  setModal(true);

  auto* label1 = new QLabel("Find What", this);
  label1->setObjectName("Label1");
  find_what_ = new QLineEdit(this);
  find_what_->setObjectName("txtFindWhat");
  auto* label2 = new QLabel("Replace With", this);
  label2->setObjectName("Label2");
  replace_with_ = new QLineEdit(this);
  replace_with_->setObjectName("txtReplaceWith");
  case_sensitive_ = new QCheckBox("Case Sensitive", this);
  case_sensitive_->setObjectName("chkCaseSensitive");
  auto* replace =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), "Replace", this);
  replace->setObjectName("pbReplace");
  auto* cancel =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Cancel", this);
  cancel->setObjectName("pbCancel");
  auto* image = new QLabel(this);
  image->setObjectName("Image2");
  image->setPixmap(style()->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(32, 32));

  // The labels left of their boxes, the check box below them, the buttons at
  // the right with Replace above Cancel.
  auto* grid = new QGridLayout(this);
  grid->addWidget(label1, 0, 0);
  grid->addWidget(find_what_, 0, 1);
  grid->addWidget(label2, 1, 0);
  grid->addWidget(replace_with_, 1, 1);
  grid->addWidget(case_sensitive_, 2, 1);
  grid->addWidget(replace, 0, 2);
  grid->addWidget(cancel, 1, 2);
  grid->addWidget(image, 2, 2, Qt::AlignCenter);
  grid->setColumnMinimumWidth(1, 220);

  connect(replace, &QPushButton::clicked, this, [this] {
    replaced_ = true;
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

ReplaceDialogAnswer frmReplace::answer() const {
  ReplaceDialogAnswer a;
  a.closed = replaced_ ? DialogClose::kAccept : DialogClose::kCancel;
  a.find_what = Bytes(find_what_->text(), page_);
  a.replace_with = Bytes(replace_with_->text(), page_);
  a.case_sensitive = case_sensitive_->isChecked();
  return a;
}

}  // namespace qw::shell
