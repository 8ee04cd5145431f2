#include "shell/toolbar.h"

#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QToolButton>

#include "shell/form_layout.h"

// Resources of a static library are registered by hand.
static void InitToolbarResources() {
  Q_INIT_RESOURCE(shell);
}

namespace qw::shell {

const std::vector<ToolButtonEntry>& ToolButtonTable() {
  static const std::vector<ToolButtonEntry> table = {
      {"tbComment", "TT:[Comment Selected Text]", ":/toolbar/comment.xpm", 60, 120, true,
       Command::kComment},
      {"tbUncomment", "TT:[Uncomment Selected Text]", ":/toolbar/uncomment.xpm", 390, 120, true,
       Command::kUncomment},
      {"Command3D1", "TT:[Indent Selected Text]", ":/toolbar/indent.xpm", 720, 120, true,
       Command::kIndent},
      {"Command3D3", "TT:[Concatenate to Clipboard]", ":/toolbar/concatenate.xpm", 1050, 120, true,
       Command::kConcatenate},
      {"tbPrint", "TT:[Print Selected Text]", ":/toolbar/print.xpm", 1380, 120, true,
       Command::kPrint},
      {"Command3D2", "TT:[Convert Selected Text xBase to VB]", ":/toolbar/convert.xpm", 1710, 120,
       true, Command::kConvert},
      {"tbFindDiff", "TT:[Find Difference]", ":/toolbar/finddiff.xpm", 5070, 90, false,
       Command::kNone},
  };
  return table;
}

QString TooltipFromTag(const QString& tag) {
  const qsizetype open = tag.indexOf("TT:[");
  const qsizetype close = tag.lastIndexOf(u']');
  if (open < 0 || close < open + 4) return QString();
  return tag.mid(open + 4, close - open - 4);
}

Toolbar BuildToolbar(QWidget* parent) {
  InitToolbarResources();
  Toolbar bar{};
  bar.panToolbar = new QFrame(parent);
  bar.panToolbar->setObjectName("panToolbar");
  bar.panToolbar->setFrameShape(QFrame::Panel);
  bar.panToolbar->setFrameShadow(QFrame::Raised);

  bar.Label1 = new QLabel("Procedure", bar.panToolbar);
  bar.Label1->setObjectName("Label1");
  // The design position, and at least the design size: a larger font than the
  // design's gets the room its caption needs.
  const QRect label = TwipRect(2220, 30, 735, 195);
  bar.Label1->setGeometry(QRect(label.topLeft(), label.size().expandedTo(bar.Label1->sizeHint())));

  bar.cbProc = new QComboBox(bar.panToolbar);
  bar.cbProc->setObjectName("cbProc");
  bar.cbProc->setEditable(true);
  // Typing a name never adds it to the list; the list is the module's index.
  bar.cbProc->setInsertPolicy(QComboBox::NoInsert);
  // No inline completion: it searches every name on each change of the text,
  // which makes switching entries of a large module slow.
  bar.cbProc->setCompleter(nullptr);
  // Long lists: no measuring of every item, uniform rows in the drop-down.
  bar.cbProc->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  auto* view = new QListView(bar.cbProc);
  view->setUniformItemSizes(true);
  bar.cbProc->setView(view);
  const QRect list = TwipRect(2190, 240, 2445, 0);
  bar.cbProc->setGeometry(list.x(), list.y(), list.width(), bar.cbProc->sizeHint().height());

  for (const ToolButtonEntry& e : ToolButtonTable()) {
    auto* button = new QToolButton(bar.panToolbar);
    button->setObjectName(e.name);
    button->setProperty("tag", QString::fromLatin1(e.tag));
    button->setToolTip(TooltipFromTag(QString::fromLatin1(e.tag)));
    button->setIcon(QIcon(QString::fromLatin1(e.picture)));
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(false);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(TwipRect(e.left, e.top, 330, 330));
    button->setVisible(e.shown);
    bar.buttons.push_back(button);
  }
  return bar;
}

}  // namespace qw::shell
