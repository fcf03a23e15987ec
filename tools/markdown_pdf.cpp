// Build-time converter for the user guides: Markdown in, PDF out, through
// Qt's own text layout on the offscreen platform, so it needs no display and
// no package beyond Qt. Usage: markdown-pdf IN.md OUT.pdf TITLE
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <QTextTable>
#include <cstdio>
#include <utility>
#include <vector>

#include "platform/system/env.h"

namespace {

bool IsCode(const QTextCharFormat& format) {
  return format.fontFixedPitch() || format.font().fixedPitch() ||
         format.fontFamilies().toStringList().contains(QStringLiteral("monospace"));
}

// An optional argument ("[--lang N]") stays on one line.
void KeepBracketsWhole(QString& text) {
  int depth = 0;
  for (QChar& c : text) {
    if (c == QLatin1Char('[')) ++depth;
    if (c == QLatin1Char(']') && depth > 0) --depth;
    if (c == QLatin1Char(' ') && depth > 0) c = QChar(0x00A0);
  }
}

// Code blocks hold the commands a reader copies: their characters stay as
// written and their lines whole (Qt keeps only fenced blocks whole). Inline
// code is read, not copied: its hyphens become non-breaking ones, so that an
// option never wraps inside ("--no-" / "gui"), and so do the blanks inside
// brackets. "\|", a pipe escaped in a table cell, shows as "|" inside code
// too, as it does on the web (Qt's Markdown leaves the backslash).
void LayOutCode(QTextDocument& document) {
  struct Replacement {
    int position;
    int length;
    QString text;
    QTextCharFormat format;
  };
  std::vector<Replacement> replacements;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    if (block.blockFormat().hasProperty(QTextFormat::BlockCodeLanguage)) {
      QTextBlockFormat format = block.blockFormat();
      format.setNonBreakableLines(true);
      QTextCursor(block).setBlockFormat(format);
      continue;
    }
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.isValid() || !IsCode(fragment.charFormat())) continue;
      QString text = fragment.text();
      text.replace(QStringLiteral("\\|"), QStringLiteral("|"));
      text.replace(QLatin1Char('-'), QChar(0x2011));
      KeepBracketsWhole(text);
      if (text != fragment.text()) {
        replacements.push_back(
            {fragment.position(), fragment.length(), text, fragment.charFormat()});
      }
    }
  }
  // From the end, so that a shorter text does not move the positions still to come.
  for (auto it = replacements.rbegin(); it != replacements.rend(); ++it) {
    QTextCursor cursor(&document);
    cursor.setPosition(it->position);
    cursor.setPosition(it->position + it->length, QTextCursor::KeepAnchor);
    cursor.insertText(it->text, it->format);
  }
}

// A table that goes on to the next page repeats its header row there.
void RepeatTableHeaders(QTextFrame* frame) {
  for (QTextFrame* child : frame->childFrames()) {
    if (auto* table = qobject_cast<QTextTable*>(child)) {
      QTextTableFormat format = table->format();
      format.setHeaderRowCount(1);
      table->setFormat(format);
    }
    RepeatTableHeaders(child);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: markdown-pdf IN.md OUT.pdf TITLE\n");
    return 2;
  }
  try {
    if (vt::system::CurrentEnv().IsSameFile(argv[1], argv[2])) {
      std::fprintf(stderr, "markdown-pdf: %s is the input %s itself: nothing written\n", argv[2],
                   argv[1]);
      return 2;
    }
  } catch (const vt::system::SystemError& e) {
    std::fprintf(stderr, "markdown-pdf: %s\n", e.what());
    return 1;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  QFile in(QString::fromLocal8Bit(argv[1]));
  if (!in.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "markdown-pdf: cannot read %s\n", argv[1]);
    return 1;
  }
  QTextDocument document;
  document.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 10));
  document.setDefaultStyleSheet(QStringLiteral("table { border-collapse: collapse; }"));
  document.setMarkdown(QString::fromUtf8(in.readAll()));
  // Words whole: a key name wider than its table column widens the column
  // instead of breaking mid-word.
  QTextOption option = document.defaultTextOption();
  option.setWrapMode(QTextOption::WordWrap);
  document.setDefaultTextOption(option);
  LayOutCode(document);
  RepeatTableHeaders(document.rootFrame());

  // Written aside and renamed, so that a failed run leaves no half PDF.
  QSaveFile out(QString::fromLocal8Bit(argv[2]));
  if (!out.open(QIODevice::WriteOnly)) {
    std::fprintf(stderr, "markdown-pdf: cannot write %s\n", argv[2]);
    return 1;
  }
  {
    QPdfWriter pdf(&out);
    pdf.setTitle(QString::fromUtf8(argv[3]));
    pdf.setCreator(QStringLiteral("Veltrano"));
    // print() adds margins of 2 cm of its own.
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(2, 2, 2, 2), QPageLayout::Millimeter));
    document.print(&pdf);
  }
  if (!out.commit()) {
    std::fprintf(stderr, "markdown-pdf: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
