#include "shell/entry_search.h"

#include <QAbstractItemView>
#include <QAbstractListModel>
#include <QComboBox>
#include <QCompleter>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
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
  auto* popup = new QListView;
  popup->setUniformItemSizes(true);
  completer_->setPopup(popup);
  connect(list_->lineEdit(), &QLineEdit::textEdited, this, &EntrySearch::Offer);
  list_->lineEdit()->installEventFilter(this);
  connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
          [this](const QModelIndex& index) {
            const QVariant item = index.data(Qt::UserRole);
            if (item.isValid() && choose_) choose_(item.toInt());
          });
}

void EntrySearch::SetNames(const std::vector<std::string>& names) {
  completer_->popup()->hide();
  offered_.clear();
  filter_.SetNames(names);
  matches_->Reset(shown_, &offered_);
  // The drop-down is as wide as its longest name: measuring the few longest
  // names is enough, and costs nothing next to measuring them all.
  const QFontMetrics metrics(list_->view()->font());
  int widest = 0;
  for (const int i : filter_.Longest(16))
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
  const QByteArray bytes = text.toLatin1();
  filter_.Find(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), offered_);
  matches_->Reset(shown_, &offered_);
  if (offered_.empty()) {
    completer_->popup()->hide();
    return;
  }
  QLineEdit* edit = list_->lineEdit();
  completer_->complete(QRect(0, 0, std::max(popup_width_, edit->width()), edit->height()));
}

}  // namespace qw::shell
