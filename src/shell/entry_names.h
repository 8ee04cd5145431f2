// EntryNames: the entry list's items as the model of its combo box. The names
// are kept as their bytes in one block and become QStrings (bytes as Latin-1)
// only when a view asks for a row, so that filling the list with 60,000 names
// costs one copy of their bytes and one reset of the model.
#pragma once

#include <QAbstractListModel>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qw::shell {

class EntryNames final : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  // Replaces the names by `names`, in one reset.
  void SetNames(const std::vector<std::string>& names);
  int size() const { return static_cast<int>(starts_.empty() ? 0 : starts_.size() - 1); }
  // The name of row `row` (0 <= row < size()), as bytes and as shown.
  std::string_view bytes(int row) const;
  QString name(int row) const;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  std::string names_;                  // every name, one after another
  std::vector<std::uint32_t> starts_;  // where each name starts, and the end
};

}  // namespace qw::shell
