#include "shell/entry_names.h"

namespace qw::shell {

void EntryNames::SetNames(const std::vector<std::string>& names) {
  beginResetModel();
  size_t total = 0;
  for (const std::string& n : names) total += n.size();
  names_.clear();
  names_.reserve(total);
  starts_.clear();
  starts_.reserve(names.size() + 1);
  for (const std::string& n : names) {
    starts_.push_back(static_cast<std::uint32_t>(names_.size()));
    names_ += n;
  }
  starts_.push_back(static_cast<std::uint32_t>(names_.size()));
  endResetModel();
}

std::string_view EntryNames::bytes(int row) const {
  const auto r = static_cast<size_t>(row);
  return std::string_view(names_).substr(starts_[r], starts_[r + 1] - starts_[r]);
}

QString EntryNames::name(int row) const {
  const std::string_view b = bytes(row);
  return QString::fromLatin1(b.data(), static_cast<qsizetype>(b.size()));
}

int EntryNames::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : size();
}

QVariant EntryNames::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= size()) return {};
  if (role == Qt::DisplayRole || role == Qt::EditRole) return name(index.row());
  return {};
}

}  // namespace qw::shell
