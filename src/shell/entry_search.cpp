#include "shell/entry_search.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>

#include "shell/entry_names.h"

namespace qw::shell {

// The entries offered: row r shows the name of list item offered[r], and
// carries that item's index under Qt::UserRole.
class EntryMatches final : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  void Reset(const EntryNames* names, const std::vector<int>* offered) {
    beginResetModel();
    names_ = names;
    offered_ = offered;
    endResetModel();
  }
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() || !offered_ ? 0 : static_cast<int>(offered_->size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!offered_ || index.row() < 0 || index.row() >= static_cast<int>(offered_->size()))
      return {};
    const int item = (*offered_)[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole || role == Qt::EditRole) return names_->name(item);
    if (role == Qt::UserRole) return item;
    return {};
  }

 private:
  const EntryNames* names_ = nullptr;
  const std::vector<int>* offered_ = nullptr;
};

// The popup of the names offered: a table of one column, its headers hidden,
// whose rows all have one height, so that it places them all by one
// multiplication. (A list view places its rows one by one whenever they
// change: for the 40,000 names one letter can find, that cost three times
// the finding.)
class EntryPopup final : public QTableView {
 public:
  EntryPopup() {
    horizontalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    setShowGrid(false);
    setWordWrap(false);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  // Makes every row as high as one showing `sample` needs. Done while the
  // popup holds no rows, it costs nothing (each row held is resized).
  void FitRowsTo(const QModelIndex& sample) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    verticalHeader()->setDefaultSectionSize(itemDelegate()->sizeHint(option, sample).height());
    rows_fitted_ = true;
  }
  bool rows_fitted() const { return rows_fitted_; }

 private:
  bool rows_fitted_ = false;
};

EntrySearch::EntrySearch(QComboBox* list, const EntryNames* shown, std::function<void(int)> choose)
    : QObject(list),
      list_(list),
      choose_(std::move(choose)),
      shown_(shown),
      matches_(new EntryMatches(this)),
      completer_(new QCompleter(this)) {
  completer_->setModel(matches_);
  completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
  completer_->setWidget(list_->lineEdit());
  completer_->setMaxVisibleItems(20);
  popup_ = new EntryPopup;
  completer_->setPopup(popup_);
  connect(list_->lineEdit(), &QLineEdit::textEdited, this, &EntrySearch::Offer);
  list_->lineEdit()->installEventFilter(this);
  connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
          [this](const QModelIndex& index) {
            const QVariant item = index.data(Qt::UserRole);
            if (item.isValid() && choose_) choose_(item.toInt());
          });
}

void EntrySearch::NamesChanged() {
  completer_->popup()->hide();
  offered_.clear();
  offered_for_.clear();
  matches_->Reset(shown_, &offered_);
  // The drop-down is as wide as its longest name: measuring the few longest
  // names is enough, and costs nothing next to measuring them all.
  const QFontMetrics metrics(list_->view()->font());
  int widest = 0;
  for (const int i : shown_->names().Longest(16))
    widest = std::max(widest, metrics.horizontalAdvance(shown_->name(i)));
  const int extra =
      list_->view()->verticalScrollBar()->sizeHint().width() + 4 * list_->view()->frameWidth() + 12;
  popup_width_ = widest + extra;
  list_->view()->setMinimumWidth(std::max(popup_width_, list_->width()));
}

bool EntrySearch::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn && !popup_made_) {
    popup_made_ = true;
    QAbstractItemView* popup = completer_->popup();
    popup->ensurePolished();
    popup->winId();
    popup->adjustSize();
  }
  return QObject::eventFilter(watched, event);
}

void EntrySearch::Offer(const QString& text) {
  if (!popup_->rows_fitted() && shown_->size() > 0) {
    // The popup has held no rows yet (the model reads offered_ as it is).
    popup_->FitRowsTo(shown_->index(0));
  }
  const QByteArray bytes = text.toLatin1();
  std::string typed(bytes.constData(), static_cast<size_t>(bytes.size()));
  shown_->names().FindNext(offered_for_, typed, offered_);
  offered_for_ = std::move(typed);
  matches_->Reset(shown_, &offered_);
  if (offered_.empty()) {
    completer_->popup()->hide();
    return;
  }
  QLineEdit* edit = list_->lineEdit();
  completer_->complete(QRect(0, 0, std::max(popup_width_, edit->width()), edit->height()));
}

}  // namespace qw::shell
