// EntryNames: the entry list's items as the model of its combo box. The names
// are kept as their bytes in one block (where they are also found by part of a
// name) and become QStrings (bytes as Latin-1) only when a view asks for a
// row, so that filling the list with 60,000 names costs one copy of their
// bytes and one reset of the model.
#pragma once

#include <QAbstractListModel>
#include <QString>
#include <string_view>

#include "document/entry_filter.h"

namespace qw::shell {

class EntryNames final : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  // Replaces the names by those of `names`, row i named by name i, in one
  // reset.
  void SetNames(NameBlock names);
  int size() const { return static_cast<int>(names_.size()); }
  // The names, as bytes, for finding them by part of a name.
  const EntryFilter& names() const { return names_; }
  // The name of row `row` (0 <= row < size()), as shown.
  QString name(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // The combo box looks a typed text up among its items (when its text field
  // loses the focus, or a popup opens over it): a name asked for whole, as
  // shown or in any case, is found by comparing bytes; other look-ups go
  // through each row's QString as usual.
  QModelIndexList match(const QModelIndex& start, int role, const QVariant& value, int hits,
                        Qt::MatchFlags flags) const override;

 private:
  EntryFilter names_;
};

}  // namespace qw::shell
