// The hit list of Find in Module: a window beside the main window listing
// every line of the module that holds the text searched for, as entry, line
// and text. Choosing a row (double click or Enter) reports its number; the
// window stays open, so that the user can walk through the hits.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "platform/port.h"
#include "shell/code_page.h"

class QTableView;

namespace qw::shell {

class HitModel;

class HitList : public QDialog {
  Q_OBJECT

 public:
  explicit HitList(QWidget* parent);

  // Shows `rows`, found for `find_text`, in place of the rows shown before;
  // their bytes are shown in the code page `page`.
  void Show(const std::string& find_text, const std::vector<HitRow>& rows, const CodePage& page);
  // Called with the row the user chose.
  std::function<void(size_t)> on_chosen;

  QTableView* table() const { return table_; }
  int rowCount() const;

 private:
  QTableView* table_;
  HitModel* model_;
};

}  // namespace qw::shell
