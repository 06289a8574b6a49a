// The shipped diet catalogue and condition index, as a new database holds
// them: every row fits what the picker relies on (the species word in the
// name, the form of the category list, codes that exist, figures the energy
// boxes can show), and the condition tree is built as the index expects.
#include "diets/ConditionTree.h"
#include "diets/DietCatalogue.h"
#include "platform/db/ClinicDb.h"
#include "support/TestEnv.h"
#include "support/TestMain.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QTest>
#include <cmath>

namespace {

// A figure the entry mask "###.#" can hold: 0 to 999.9, one decimal at most.
bool isMaskFigure(double v)
{
    return v >= 0 && v <= 999.9 && std::fabs(v * 10 - std::round(v * 10)) < 1e-6;
}

} // namespace

class DietRowsTest : public QObject {
    Q_OBJECT

private slots:
    void everyNodeHasItsOwnCode()
    {
        TestEnv env;
        QSqlQuery q = ClinicDb::exec(env.db(), "SELECT [Node Index], [Code] FROM [Category Codes Diets]");
        QHash<int, QString> codes;
        QSet<QString> seen;
        const QRegularExpression plain(QStringLiteral("^[A-Z0-9]+$"));
        while (q.next()) {
            const int node = q.value(0).toInt();
            const QString code = q.value(1).toString();
            QVERIFY2(node >= 1 && node <= ConditionTree::kNodeCount, qPrintable(QString::number(node)));
            QVERIFY2(!codes.contains(node), qPrintable(QStringLiteral("node %1 twice").arg(node)));
            // Letters and digits only: no pattern character, no separator.
            QVERIFY2(plain.match(code).hasMatch(), qPrintable(code));
            QVERIFY2(!seen.contains(code), qPrintable(QStringLiteral("code %1 twice").arg(code)));
            codes.insert(node, code);
            seen.insert(code);
        }
        QCOMPARE(codes.size(), ConditionTree::kNodeCount);

        // Every condition holds diets of at least one species; only "Added"
        // lists the practice's own diets instead.
        DietCatalogue catalogue(env.db());
        for (const ConditionTree::Node &n : ConditionTree::nodes()) {
            if (n.index == ConditionTree::kAddedIndex)
                continue;
            const int found =
                catalogue.byNode(n.index, "canine").names.size() + catalogue.byNode(n.index, "feline").names.size();
            QVERIFY2(found > 0, qPrintable(QStringLiteral("node %1 %2").arg(n.index).arg(n.text)));
        }
    }

    void everyDietFitsThePicker()
    {
        TestEnv env;
        QHash<QString, int> nodeOfCode;
        {
            QSqlQuery q = ClinicDb::exec(env.db(), "SELECT [Node Index], [Code] FROM [Category Codes Diets]");
            while (q.next())
                nodeOfCode.insert(q.value(1).toString(), q.value(0).toInt());
        }
        QSqlQuery q =
            ClinicDb::exec(env.db(), "SELECT [Generic], [Category], [Indications], [Contraindications], [ME Dry], "
                                     "[ME Can], [KCal per cup dry], [Form Dry], [Form Can] FROM [Diets]");
        const QRegularExpression form(QStringLiteral("^;([^;]+;)+$"));
        QSet<QString> names;
        int canine = 0, feline = 0;
        while (q.next()) {
            const QString name = q.value(0).toString();
            const char *n = qPrintable(name);
            const bool isCanine = name.contains("Canine"), isFeline = name.contains("Feline");
            QVERIFY2(isCanine != isFeline, n);
            canine += isCanine;
            feline += isFeline;
            QVERIFY2(name == name.trimmed() && name.size() <= DietCatalogue::kMaxNameLength, n);
            QVERIFY2(!names.contains(name.toCaseFolded()), n);
            names.insert(name.toCaseFolded());
            QVERIFY2(!q.value(2).toString().trimmed().isEmpty() && !q.value(3).toString().trimmed().isEmpty(), n);

            // ";c1;c2;": every code exists, and the nodes above each listed
            // node are listed too, so a click on a parent finds the diet.
            const QString category = q.value(1).toString();
            QVERIFY2(form.match(category).hasMatch() && category.size() <= 255, n);
            const QStringList codes = category.mid(1, category.size() - 2).split(';');
            for (const QString &code : codes) {
                QVERIFY2(nodeOfCode.contains(code), qPrintable(name + ": " + code));
                QVERIFY2(nodeOfCode.value(code) != ConditionTree::kAddedIndex, n);
                const int parent = ConditionTree::node(nodeOfCode.value(code)).parent;
                if (parent != 0)
                    QVERIFY2(codes.contains(nodeOfCode.key(parent)), qPrintable(name + ": parent of " + code));
            }

            // The figures: each fits the energy boxes, and a form is either
            // wholly there or wholly absent.
            const double meDry = q.value(4).toDouble(), meCan = q.value(5).toDouble(), cup = q.value(6).toDouble(),
                         bag = q.value(7).toDouble(), can = q.value(8).toDouble();
            for (double v : {meDry, meCan, cup, bag, can})
                QVERIFY2(isMaskFigure(v), qPrintable(name + ": " + QString::number(v)));
            QVERIFY2(meDry > 0 || meCan > 0, n);
            QVERIFY2((meDry > 0) == (cup > 0) && (meDry > 0) == (bag > 0), n);
            QVERIFY2((meCan > 0) == (can > 0), n);
            if (meDry > 0) {
                const double cupGrams = cup / meDry * 100;
                QVERIFY2(cupGrams >= 80 && cupGrams <= 120, n);
                QVERIFY2(bag >= 1.5 && bag <= 12, n);
            }
            if (meCan > 0)
                QVERIFY2(isFeline ? can >= 85 && can <= 156 : can >= 370 && can <= 410, n);
        }
        QVERIFY(canine + feline >= 40 && canine + feline <= 60);
        QVERIFY(canine >= 20 && feline >= 20);
    }

    void conditionTreeIsBuiltAsTheIndexExpects()
    {
        const auto &nodes = ConditionTree::nodes();
        QSet<QString> keys;
        int topLevel = 0;
        for (int i = 0; i < ConditionTree::kNodeCount; ++i) {
            const ConditionTree::Node &n = nodes[std::size_t(i)];
            QCOMPARE(n.index, i + 1);
            bool hasChildren = false;
            for (const ConditionTree::Node &c : nodes)
                hasChildren = hasChildren || c.parent == n.index;
            if (n.level == 1) {
                ++topLevel;
                QCOMPARE(n.parent, 0);
                QCOMPARE(ConditionTree::image(n), ConditionTree::kClosedImage);
                QCOMPARE(ConditionTree::expandedImage(n), ConditionTree::kOpenedImage);
            } else {
                // Added under its parent's key, after it.
                QVERIFY(n.parent >= 1 && n.parent < n.index);
                QCOMPARE(ConditionTree::node(n.parent).level, n.level - 1);
                QVERIFY(!ConditionTree::parentKey(n).isEmpty());
                QVERIFY(ConditionTree::image(n).isEmpty());
            }
            QCOMPARE(n.keyed, n.level == 1 || (n.level == 2 && hasChildren));
            if (n.keyed) {
                QVERIFY2(!keys.contains(ConditionTree::key(n)), n.text);
                keys.insert(ConditionTree::key(n));
            }
        }
        QCOMPARE(topLevel, 16);
        QCOMPARE(ConditionTree::text(ConditionTree::node(21)), QStringLiteral("Obesity"));
        QCOMPARE(ConditionTree::text(ConditionTree::node(86)), QStringLiteral("Prevention  + Obese"));
        QCOMPARE(ConditionTree::text(ConditionTree::node(ConditionTree::kAddedIndex)), ConditionTree::kAddedText);
        QCOMPARE(ConditionTree::text(ConditionTree::node(95)), QStringLiteral("Senior"));
    }
};

FW_TEST(DietRowsTest)
#include "tst_DietRows.moc"
