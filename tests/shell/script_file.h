// Script files: the scenarios and rows of the shell tests, kept as text under
// tests/data. One step or row a line, blank lines and lines starting with '#'
// skipped; fields are separated by '|', and inside a field \t \r \n \\ \| and
// \xHH stand for their bytes. Fields come back as Latin-1 strings, one
// character per byte, so that every byte survives.
#pragma once

#include <QFile>
#include <QList>
#include <QMetaType>
#include <QStringList>

namespace qw::shell::testing {

struct ScriptLine {
  QString where;       // "FILE:LINE", for the failure message
  QStringList fields;  // escapes decoded
};

// The lines of tests/data/`relative`; none when the file is missing.
inline QList<ScriptLine> ReadScript(const QString& relative) {
  QFile file(QStringLiteral(QW_TEST_DATA "/") + relative);
  QList<ScriptLine> lines;
  if (!file.open(QIODevice::ReadOnly)) return lines;
  int number = 0;
  while (!file.atEnd()) {
    QByteArray line = file.readLine();
    ++number;
    if (line.endsWith('\n')) line.chop(1);
    if (line.isEmpty() || line.startsWith('#')) continue;
    ScriptLine row{relative + ":" + QString::number(number), {QString()}};
    for (qsizetype i = 0; i < line.size(); ++i) {
      QString& field = row.fields.last();
      const char c = line[i];
      if (c == '|') {
        row.fields << QString();
      } else if (c != '\\' || i + 1 == line.size()) {
        field += QChar(uchar(c));
      } else if (const char e = line[++i]; e == 'x' && i + 2 < line.size()) {
        field += QChar(uchar(line.mid(i + 1, 2).toInt(nullptr, 16)));
        i += 2;
      } else {
        field += QChar(uchar(e == 't' ? '\t' : e == 'r' ? '\r' : e == 'n' ? '\n' : e));
      }
    }
    lines << row;
  }
  return lines;
}

// A field as text: the UTF-8 it holds.
inline QString Utf8(const QString& field) {
  return QString::fromUtf8(field.toLatin1());
}

}  // namespace qw::shell::testing

Q_DECLARE_METATYPE(qw::shell::testing::ScriptLine)
