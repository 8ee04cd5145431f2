#include "shell/hit_list.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace qw::shell {

// The rows as a table model: thousands of hits cost one vector, not a widget each.
class HitModel : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;

  void SetRows(std::vector<HitRow> rows, const CodePage& page) {
    beginResetModel();
    rows_ = std::move(rows);
    page_ = &page;
    endResetModel();
  }
  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : 3;
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const HitRow& r = rows_[static_cast<size_t>(index.row())];
    switch (index.column()) {
      case 0:
        return QString::fromStdString(page_->ToUtf8(r.entry_name));
      case 1:
        return QVariant::fromValue(static_cast<qlonglong>(r.line));
      default:
        return QString::fromStdString(page_->ToUtf8(r.line_text));
    }
  }
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kHeads[] = {"Entry", "Line", "Text"};
    return QString(kHeads[section]);
  }

 private:
  std::vector<HitRow> rows_;
  const CodePage* page_ = &CodePage::Default();
};

HitList::HitList(QWidget* parent) : QDialog(parent) {
  setObjectName("frmFindInModule");
  setModal(false);
  model_ = new HitModel(this);
  table_ = new QTableView(this);
  table_->setObjectName("lstHits");
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setWordWrap(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  resize(640, 320);
  // Enter or a double click on a row chooses it.
  connect(table_, &QTableView::activated, this, [this](const QModelIndex& index) {
    if (on_chosen && index.isValid()) on_chosen(static_cast<size_t>(index.row()));
  });
}

int HitList::rowCount() const {
  return model_->rowCount();
}

void HitList::Show(const std::string& find_text, const std::vector<HitRow>& rows,
                   const CodePage& page) {
  model_->SetRows(rows, page);
  setWindowTitle(QString("Find in Module: \"%1\" (%2 lines)")
                     .arg(QString::fromStdString(page.ToUtf8(find_text)))
                     .arg(rows.size()));
  // One line of the table's font a row, whatever the number of rows.
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
  table_->resizeColumnToContents(0);
  table_->resizeColumnToContents(1);
  show();
  raise();
}

}  // namespace qw::shell
