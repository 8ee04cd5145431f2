#include "shell/form_layout.h"

#include <algorithm>

namespace qw::shell {

QRect TwipRect(int left, int top, int width, int height) {
  return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
               TwipsToPixels(height));
}

FormLayout ComputeFormLayout(int width, int height) {
  FormLayout layout;
  layout.txtEdit = TwipRect(0, 600, std::max(0, width - 90), std::max(0, height - 1260));
  layout.panToolbar = TwipRect(0, 0, std::max(0, width - 90), 615);
  return layout;
}

}  // namespace qw::shell
