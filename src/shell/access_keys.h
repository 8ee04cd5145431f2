// Keystroke strings sent by the core to its own window ("%(EP)": Alt held
// while E and P are pressed) carried out on the menu bar: the first key picks
// a visible menu by its access key, each further key an item or submenu by
// its own, and the item reached is triggered before the call returns.
#pragma once

#include <QChar>
#include <QString>
#include <string_view>

class QMenuBar;

namespace qw::shell {

// The access key of a caption ("Cu&t" gives 'T', "S&elect && Cut" gives 'E'),
// upper-cased; a null QChar when the caption has none.
QChar AccessKey(const QString& caption);

// Runs the keystroke string on `bar`. Understands "%X" and "%(XY...)"; returns
// false, doing nothing, for other strings or keys that reach no enabled item.
bool SendAccessKeys(QMenuBar* bar, std::string_view keys);

}  // namespace qw::shell
