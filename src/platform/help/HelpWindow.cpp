#include "platform/help/HelpWindow.h"
#include "platform/layout/ScreenPlacement.h"

#include "platform/FwError.h"
#include "platform/db/ClinicDb.h"
#include "platform/prompt/Prompt.h"

#include <QApplication>
#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace {

/// A page's text, or "" when the file cannot be read.
QString readPage(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}

bool holdsContents(const QString &folder)
{
    return QFileInfo::exists(folder + QLatin1Char('/') + HelpPages::kContents);
}

QString decodeEntity(const QString &entity)
{
    static const QHash<QString, QString> named = {
        {QStringLiteral("amp"), QStringLiteral("&")},   {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},    {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")},  {QStringLiteral("nbsp"), QStringLiteral(" ")},
        {QStringLiteral("ndash"), QStringLiteral("-")}, {QStringLiteral("mdash"), QStringLiteral("-")},
    };
    if (entity.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint code = entity.startsWith(QLatin1String("#x"), Qt::CaseInsensitive) ? entity.mid(2).toUInt(&ok, 16)
                                                                                      : entity.mid(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF) {
            const char32_t c = code;
            return QString::fromUcs4(&c, 1);
        }
        return QString();
    }
    return named.value(entity.toLower(), QStringLiteral(" "));
}

} // namespace

namespace HelpPages {

QString folderFor(const QString &helpFile)
{
    QStringList tried;
    if (!helpFile.isEmpty()) {
        const QString beside = QDir::cleanPath(QFileInfo(helpFile).absolutePath() + QStringLiteral("/help"));
        if (holdsContents(beside))
            return beside;
        tried << beside;
    }
    const QString shipped = QDir::cleanPath(ClinicDb::dataDir() + QStringLiteral("/help"));
    if (holdsContents(shipped))
        return shipped;
    if (!tried.contains(shipped))
        tried << shipped;
    throw FwError(ErrNo::FileNotFound, QStringLiteral("The help pages cannot be found: there is no %1 in %2.")
                                           .arg(kContents, tried.join(QStringLiteral(" or "))));
}

QString topicFile(int topic)
{
    return QString::number(topic) + QStringLiteral(".html");
}

QString plainText(const QString &html)
{
    static const QRegularExpression blocks(QStringLiteral("<(script|style)\\b[^>]*>.*?</\\1\\s*>"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression comments(QStringLiteral("<!--.*?-->"),
                                             QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    static const QRegularExpression entities(QStringLiteral("&(#?[A-Za-z0-9]+);"));

    QString text = html;
    text.remove(blocks);
    text.remove(comments);
    text.replace(tags, QStringLiteral(" "));

    QString decoded;
    decoded.reserve(text.size());
    qsizetype at = 0;
    for (auto it = entities.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        decoded += QStringView(text).mid(at, m.capturedStart() - at);
        decoded += decodeEntity(m.captured(1));
        at = m.capturedEnd();
    }
    decoded += QStringView(text).mid(at);
    return decoded.simplified();
}

QString title(const QString &html)
{
    static const QRegularExpression re(QStringLiteral("<title[^>]*>(.*?)</title\\s*>"),
                                       QRegularExpression::CaseInsensitiveOption |
                                           QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = re.match(html);
    return m.hasMatch() ? plainText(m.captured(1)) : QString();
}

QStringList searchWords(const QString &key)
{
    static const QRegularExpression separators(QStringLiteral("[^\\w]+"),
                                               QRegularExpression::UseUnicodePropertiesOption);
    return key.toCaseFolded().split(separators, Qt::SkipEmptyParts);
}

QList<Hit> search(const QString &folder, const QString &key)
{
    QList<Hit> hits;
    const QStringList words = searchWords(key);
    if (words.isEmpty())
        return hits;

    const QDir dir(folder);
    const QStringList files = dir.entryList({QStringLiteral("*.html"), QStringLiteral("*.htm")}, QDir::Files);
    for (const QString &file : files) {
        if (file.compare(kContents, Qt::CaseInsensitive) == 0 || file.compare(kSearch, Qt::CaseInsensitive) == 0)
            continue;
        const QString html = readPage(dir.filePath(file));
        const QString text = plainText(html).toCaseFolded();
        const bool all =
            std::all_of(words.cbegin(), words.cend(), [&text](const QString &w) { return text.contains(w); });
        if (!all)
            continue;
        const QString t = title(html);
        hits.append({file, t.isEmpty() ? file : t});
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(hits.begin(), hits.end(),
              [&collator](const Hit &a, const Hit &b) { return collator.compare(a.title, b.title) < 0; });
    return hits;
}

QString searchPage(const QString &folder, const QString &key)
{
    QString page = readPage(QDir(folder).filePath(kSearch));
    if (page.isEmpty())
        throw FwError(ErrNo::FileNotFound, QStringLiteral("The help page %1 is missing from %2.").arg(kSearch, folder));

    QString list;
    if (!searchWords(key).isEmpty()) {
        const QList<Hit> hits = search(folder, key);
        const QString shownKey = key.trimmed().toHtmlEscaped();
        if (hits.isEmpty()) {
            list = QStringLiteral("<p>No page holds all of the words <b>%1</b>.</p>").arg(shownKey);
        } else {
            list = QStringLiteral("<p>Pages holding <b>%1</b>:</p>\n<ul>\n").arg(shownKey);
            for (const Hit &h : hits)
                list += QStringLiteral("<li><a href=\"%1\">%2</a></li>\n")
                            .arg(h.file.toHtmlEscaped(), h.title.toHtmlEscaped());
            list += QStringLiteral("</ul>\n");
        }
    }
    if (page.contains(kResultsMarker)) {
        page.replace(kResultsMarker, list);
    } else {
        const qsizetype end = page.lastIndexOf(QStringLiteral("</body>"), -1, Qt::CaseInsensitive);
        page.insert(end < 0 ? page.size() : end, list);
    }
    return page;
}

} // namespace HelpPages

// --- browser ---------------------------------------------------------------

HelpBrowser::HelpBrowser(QWidget *parent) : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("HelpBrowser"));
    setOpenExternalLinks(true);
}

bool HelpBrowser::showsSearch() const
{
    return QFileInfo(source().toLocalFile()).fileName().compare(HelpPages::kSearch, Qt::CaseInsensitive) == 0;
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    if (type == QTextDocument::HtmlResource && name.isLocalFile() &&
        QFileInfo(name.toLocalFile()).fileName().compare(HelpPages::kSearch, Qt::CaseInsensitive) == 0) {
        try {
            return HelpPages::searchPage(QFileInfo(name.toLocalFile()).absolutePath(), m_key);
        } catch (const FwError &e) {
            // The page being loaded says what went wrong; a box shown from
            // inside the loading of a page would stand in its way.
            return QStringLiteral("<p>%1</p>").arg(e.description().toHtmlEscaped());
        }
    }
    return QTextBrowser::loadResource(type, name);
}

// --- window ----------------------------------------------------------------

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Fenwarra Help"));
    // An open help window alone does not keep the program running.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_contents = new QPushButton(QStringLiteral("&Contents"), this);
    m_contents->setObjectName(QStringLiteral("ContentsBut"));
    m_search = new QPushButton(QStringLiteral("&Search"), this);
    m_search->setObjectName(QStringLiteral("SearchBut"));
    m_back = new QPushButton(QStringLiteral("&Back"), this);
    m_back->setObjectName(QStringLiteral("BackBut"));
    m_back->setEnabled(false);
    auto *findLabel = new QLabel(QStringLiteral("&Find:"), this);
    m_searchText = new QLineEdit(this);
    m_searchText->setObjectName(QStringLiteral("SearchText"));
    m_searchText->setPlaceholderText(QStringLiteral("words to look for"));
    m_searchText->setClearButtonEnabled(true);
    findLabel->setBuddy(m_searchText);

    m_browser = new HelpBrowser(this);

    auto *bar = new QHBoxLayout;
    bar->addWidget(m_contents);
    bar->addWidget(m_search);
    bar->addWidget(m_back);
    bar->addSpacing(12);
    bar->addWidget(findLabel);
    bar->addWidget(m_searchText, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_browser, 1);
    resize(640, 560);

    connect(m_contents, &QPushButton::clicked, this, [this] { showPage(m_browser->folder(), HelpPages::kContents); });
    connect(m_search, &QPushButton::clicked, this, [this] { showSearch(m_browser->folder()); });
    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] { updateTitle(); });
    connect(m_searchText, &QLineEdit::textChanged, this, &HelpWindow::searchTextChanged);
}

void HelpWindow::showPage(const QString &folder, const QString &fileName)
{
    m_browser->setFolder(folder);
    m_browser->setSource(QUrl::fromLocalFile(QDir(folder).filePath(fileName)));
    bringUp();
}

void HelpWindow::showSearch(const QString &folder)
{
    m_browser->setFolder(folder);
    {
        // Clearing the box must not trigger a search of its own.
        const QSignalBlocker block(m_searchText);
        m_searchText->clear();
    }
    m_browser->setSearchKey(QString());
    if (m_browser->showsSearch())
        m_browser->reload();
    else
        m_browser->setSource(QUrl::fromLocalFile(QDir(folder).filePath(HelpPages::kSearch)));
    bringUp();
    m_searchText->setFocus();
}

void HelpWindow::searchTextChanged(const QString &text)
{
    m_browser->setSearchKey(text);
    if (m_browser->folder().isEmpty())
        return;
    if (m_browser->showsSearch())
        m_browser->reload();
    else
        m_browser->setSource(QUrl::fromLocalFile(QDir(m_browser->folder()).filePath(HelpPages::kSearch)));
}

void HelpWindow::updateTitle()
{
    const QString t = m_browser->documentTitle();
    setWindowTitle(t.isEmpty() ? QStringLiteral("Fenwarra Help") : QStringLiteral("Fenwarra Help - ") + t);
}

void HelpWindow::bringUp()
{
    // A modal dialog blocks every window but its own children. Help asked for
    // from such a dialog would be shown but could not be scrolled or clicked,
    // so the window goes over the dialog while it is up, and back over the
    // frame afterwards.
    QWidget *owner = QApplication::activeModalWidget();
    if (!owner || owner == this || isAncestorOf(owner))
        owner = Prompt::parentWindow();
    if (owner != parentWidget() && owner != this) {
        const QRect place = geometry();
        setParent(owner, Qt::Window);
        setGeometry(place);
    }
    // A new help window, or one the user left partly off a smaller screen,
    // comes up wholly on the screen.
    if (!isVisible())
        ScreenPlacement::keepOnScreen(this);
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}
