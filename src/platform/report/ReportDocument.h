#pragma once
// A report ready to print: a definition (ReportDefinition.h) with the texts
// and pictures that the program put into its named objects. One layout
// serves every output: the preview and the printer (a QPrinter), the PDF file
// (QPdfWriter) and page pictures all go through render() or pageImage().
//
// Layout: the page header opens every page and the page footer closes it;
// the other sections follow one another in their order between them. A text
// that may grow pushes the objects below it down; a section that does not fit
// on what is left of a page starts a new one, and a section taller than a
// page is broken between the lines of its texts. Positions are in twips; a
// page narrower than the definition's width shows the report scaled down to
// fit, a wider one shows it centred.
#include "platform/report/ReportDefinition.h"

#include <QDate>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace Report {

class ReportDocument {
public:
    ReportDocument() = default;
    explicit ReportDocument(ReportDefinition definition);
    /// Load a definition file (see loadDefinition; throws FwError).
    static ReportDocument load(const QString &path);

    const ReportDefinition &definition() const { return m_def; }
    QString name() const { return m_def.name; }

    /// Set the text of a named text object. Line breaks may be CR, LF or
    /// CR LF. False (and nothing changed) when no text object has that name.
    bool setText(const QString &name, const QString &text);
    /// The text a named text object prints ("" when there is none).
    QString text(const QString &name) const;
    /// Set the picture of a named picture object. A null image leaves an
    /// empty frame. False when no picture object has that name.
    bool setPicture(const QString &name, const QImage &image);
    QImage picture(const QString &name) const;

    /// The day printed by the print-date fields (today when the report was made).
    void setPrintDate(const QDate &date) { m_printDate = date; }
    QDate printDate() const { return m_printDate; }

    /// The page the definition asks for on a paper size: its orientation and
    /// margins.
    QPageLayout pageLayout(const QPageSize &size) const;
    /// Give a printer or PDF writer the definition's orientation and margins,
    /// keeping the paper size it already has (the user's printer setup).
    void applyPageSetup(QPagedPaintDevice &device) const;

    /// Give the device the definition's page setup (applyPageSetup), then
    /// draw every page onto it: a printer, a print preview's printer or a
    /// PDF writer. Returns the number of pages drawn; 0 when the device could
    /// not be painted on.
    int render(QPagedPaintDevice &device) const;
    /// The number of pages on paper of that layout.
    int pageCount(const QPageLayout &layout) const;
    /// The number of pages on the default paper (defaultPageSize()).
    int pageCount() const;
    /// One page (0-based) as a picture at a resolution in dots per inch, on
    /// white; a null image for a page that does not exist.
    QImage pageImage(int index, const QPageLayout &layout, double dpi) const;

    /// Write the report as a PDF file on paper of that size. The file is
    /// written whole or not at all; false, with the reason, when it cannot be.
    bool exportPdf(const QString &path, const QPageSize &size, QString *error = nullptr) const;
    bool exportPdf(const QString &path, QString *error = nullptr) const
    {
        return exportPdf(path, defaultPageSize(), error);
    }

    /// Paper for a report that goes to no printer: Letter where the user's
    /// locale measures in US units, A4 everywhere else.
    static QPageSize defaultPageSize();
    /// The text of a print-date field: "dd mmm yyyy" with the English month
    /// abbreviation (06 Dec 2026).
    static QString printDateText(const QDate &date);
    /// The text of a page-number field: "Page 1 of 2".
    static QString pageText(int page, int pages);

private:
    struct Layout;
    Layout layout(const QPageLayout &page) const;
    void drawPage(QPainter &painter, const Layout &layout, int index, double dpi) const;

    ReportDefinition m_def;
    QDate m_printDate; // today when made
};

} // namespace Report
