#include "shell/entry_names.h"

#include <algorithm>
#include <string>

namespace qw::shell {
namespace {

char FoldCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return FoldCase(x) == FoldCase(y); });
}

}  // namespace

void EntryNames::SetNames(NameBlock names) {
  beginResetModel();
  names_.SetNames(names);
  endResetModel();
}

QString EntryNames::name(int row) const {
  const std::string_view b = names_.name(static_cast<size_t>(row));
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

QModelIndexList EntryNames::match(const QModelIndex& start, int role, const QVariant& value,
                                  int hits, Qt::MatchFlags flags) const {
  const auto type = flags & Qt::MatchTypeMask;
  const bool whole = type == Qt::MatchExactly || type == Qt::MatchFixedString;
  const bool as_shown = type == Qt::MatchExactly || flags.testFlag(Qt::MatchCaseSensitive);
  const QString text = value.typeId() == QMetaType::QString ? value.toString() : QString();
  const bool latin1 = std::ranges::all_of(text, [](QChar c) { return c.unicode() < 0x100; });
  const bool ascii = std::ranges::all_of(text, [](QChar c) { return c.unicode() < 0x80; });
  if (!whole || (role != Qt::DisplayRole && role != Qt::EditRole) || text.isNull() ||
      start.parent().isValid() || start.column() != 0 || !(as_shown ? latin1 : ascii)) {
    return QAbstractListModel::match(start, role, value, hits, flags);
  }
  const QByteArray bytes = text.toLatin1();
  const std::string_view wanted(bytes.constData(), static_cast<size_t>(bytes.size()));
  QModelIndexList found;
  const auto look = [&](int from, int to) {
    for (int row = from; row < to && (hits == -1 || found.size() < hits); ++row) {
      const std::string_view name = names_.name(static_cast<size_t>(row));
      if (name.size() == wanted.size() &&
          (as_shown ? name == wanted : SameIgnoringCase(name, wanted))) {
        found.append(index(row));
      }
    }
  };
  look(std::max(0, start.row()), size());
  if (flags.testFlag(Qt::MatchWrap)) look(0, start.row());
  return found;
}

}  // namespace qw::shell
