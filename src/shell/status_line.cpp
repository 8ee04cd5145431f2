#include "shell/status_line.h"

#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>

#include "document/module_document.h"

namespace qw::shell {

StatusLine::StatusLine(QMainWindow* window, QsciScintilla* pane, const ModuleDocument& doc,
                       QAction* toggle, std::function<QString()> code_page)
    : QObject(window),
      window_(window),
      pane_(pane),
      doc_(doc),
      code_page_(std::move(code_page)),
      position_(new QLabel),
      entry_(new QLabel),
      page_(new QLabel),
      changed_(new QLabel) {
  QStatusBar* bar = window_->statusBar();
  bar->setObjectName("staStatus");
  bar->setSizeGripEnabled(false);
  position_->setObjectName("staPosition");
  entry_->setObjectName("staEntry");
  page_->setObjectName("staCodePage");
  changed_->setObjectName("staChanged");
  bar->addWidget(position_, 1);
  bar->addWidget(entry_, 1);
  bar->addPermanentWidget(page_);
  bar->addPermanentWidget(changed_);
  bar->hide();
  toggle->setCheckable(true);
  toggle->setChecked(false);
  connect(toggle, &QAction::toggled, this, [this](bool on) {
    window_->statusBar()->setVisible(on);
    Refresh();
  });
  connect(pane_, &QsciScintilla::cursorPositionChanged, this, &StatusLine::Refresh);
  connect(pane_, &QsciScintilla::textChanged, this, &StatusLine::Refresh);
}

QStringList StatusLine::Texts() const {
  const long pos = pane_->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS);
  const long line = pane_->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, pos);
  const long column = pane_->SendScintilla(QsciScintillaBase::SCI_GETCOLUMN, pos);
  QString entry = "whole file";
  if (doc_.file_name().empty()) {
    entry = "no file";
  } else if (doc_.indexed()) {
    entry =
        doc_.entry_count() == 0
            ? QString("no entries")
            : QString("entry %1 of %2").arg(doc_.current_entry_index() + 1).arg(doc_.entry_count());
  }
  return {QString("Line %1, Col %2").arg(line + 1).arg(column + 1), entry, code_page_(),
          doc_.changed() ? "Changed" : "Unchanged"};
}

void StatusLine::Refresh() {
  if (!window_->statusBar()->isVisible()) return;
  const QStringList texts = Texts();
  position_->setText(texts[0]);
  entry_->setText(texts[1]);
  page_->setText(texts[2]);
  changed_->setText(texts[3]);
}

void FitLineNumberMargin(QsciScintilla* pane) {
  const long lines = pane->SendScintilla(QsciScintillaBase::SCI_GETLINECOUNT);
  const QByteArray widest = QByteArray::number(static_cast<qlonglong>(lines)).fill('9') + '9';
  const long width = pane->SendScintilla(
      QsciScintillaBase::SCI_TEXTWIDTH,
      static_cast<unsigned long>(QsciScintillaBase::STYLE_LINENUMBER), widest.constData());
  if (pane->marginWidth(0) != width) pane->setMarginWidth(0, static_cast<int>(width));
}

}  // namespace qw::shell
