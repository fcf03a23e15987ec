// Build-time converter for the user guides: Markdown in, PDF out, through
// Qt's own text layout on the offscreen platform, so it needs no display and
// no package beyond Qt. Usage: markdown-pdf IN.md OUT.pdf TITLE
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: markdown-pdf IN.md OUT.pdf TITLE\n");
    return 2;
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
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
    document.print(&pdf);
  }
  if (!out.commit()) {
    std::fprintf(stderr, "markdown-pdf: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
