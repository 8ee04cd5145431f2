#include "shell/display_options.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "shell/code_page_pane.h"
#include "shell/menu_table.h"
#include "shell/status_line.h"

namespace qw::shell {

DisplayOptions::DisplayOptions(QMainWindow* window, QMenuBar* menu_bar, CodePagePane* pane,
                               const ModuleDocument& doc)
    : QObject(window), pane_(pane), pages_(new QActionGroup(this)) {
  status_ = new StatusLine(window, pane, doc, FindMenuAction(menu_bar, "mnuStatusBar"),
                           [pane] { return QString::fromLatin1(pane->code_page().name()); });
  QMenu* menu = FindMenuAction(menu_bar, "mnuCodePage")->menu();
  pages_->setExclusive(true);
  for (const CodePage& page : CodePage::All()) {
    QAction* item = menu->addAction(QString::fromLatin1(page.caption()));
    item->setObjectName(QString::fromLatin1(page.menu_item()));
    item->setCheckable(true);
    item->setChecked(&page == &pane->code_page());
    pages_->addAction(item);
    connect(item, &QAction::triggered, this, [this, &page] {
      pane_->SetCodePage(page);
      Refresh();
    });
  }
}

void DisplayOptions::Refresh() {
  status_->Refresh();
}

}  // namespace qw::shell
