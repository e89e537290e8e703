#include <QTest>

#include <set>
#include <string>

#include "catalogue.h"

using namespace hashigoro;

class CatalogueTest : public QObject {
    Q_OBJECT

  private slots:
    // Every language gives every text once, with the values the Japanese one takes: a missing
    // or misspelt placeholder would drop a number from a sentence.
    void everyLanguageHasEveryTextWithItsPlaceholders() {
        std::set<std::string_view> codes;
        for (const Language* language : texts::Languages()) {
            QVERIFY2(codes.insert(language->code).second, language->code.data());
            QVERIFY(!language->name.empty());
            std::multiset<TextId> given;
            for (const TextEntry& entry : language->entries) {
                given.insert(entry.id);
            }
            for (int n = 1; n < static_cast<int>(TextId::Count); ++n) {
                const auto id = static_cast<TextId>(n);
                const std::string where = std::string(language->code) + " #" + std::to_string(n);
                QVERIFY2(given.count(id) == 1, where.c_str());
                const std::string_view japanese = texts::Text(*texts::Languages().front(), id);
                QVERIFY2(texts::Placeholders(texts::Text(*language, id)) ==
                             texts::Placeholders(japanese),
                         where.c_str());
            }
            QVERIFY2(given.count(TextId::None) == 0 && given.count(TextId::Count) == 0,
                     language->code.data());
        }
        QCOMPARE(texts::Languages().front()->code, std::string_view("ja"));
        QCOMPARE(texts::Languages().size(), std::size_t{5});
    }

    // Today's words of a result line are among the released ones, with today's placeholders:
    // a wording changed without keeping the old one would leave copied lines unread.
    void todaysResultWordsAreKeptAmongTheReleased() {
        for (const Language* language : texts::Languages()) {
            for (const TextId id :
                 {TextId::ResultRungs, TextId::ResultFull, TextId::ResultStopped}) {
                const std::string where =
                    std::string(language->code) + " #" + std::to_string(static_cast<int>(id));
                bool kept = false;
                for (const TextEntry& wording : language->released) {
                    kept = kept || (wording.id == id && wording.text == texts::Text(*language, id));
                    QVERIFY2(wording.id != id || texts::Placeholders(wording.text) ==
                                                     texts::Placeholders(texts::Text(id)),
                             where.c_str());
                }
                QVERIFY2(kept, where.c_str());
            }
        }
    }

    void theLanguageIsChosenByItsCode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("spoken");
        QTest::addColumn<QString>("startButton");
        QTest::newRow("Japanese") << "ja"
                                  << "ja"
                                  << "はしごろう作成・抽選の開始";
        QTest::newRow("Korean, letter case aside") << "KO"
                                                   << "ko"
                                                   << "사다리 만들기·추첨 시작";
        QTest::newRow("Traditional Chinese") << "zh-hant"
                                             << "zh-Hant"
                                             << "產生畫鬼腳·開始抽籤";
        QTest::newRow("not ours: Japanese stays") << "fr"
                                                  << "ja"
                                                  << "はしごろう作成・抽選の開始";
    }
    void theLanguageIsChosenByItsCode() {
        QFETCH(QString, code);
        QFETCH(QString, spoken);
        QFETCH(QString, startButton);
        QCOMPARE(texts::Use(code.toStdString()), code != "fr");
        QCOMPARE(QString::fromUtf8(texts::Current().code), spoken);
        QCOMPARE(QString::fromUtf8(texts::Text(TextId::StartButton)), startButton);
    }

    void valuesGoWhereTheirNumbersSay() {
        QCOMPARE(texts::Format("{2} of {1}, {1} again, {3} kept", {"a", "b"}),
                 std::string("b of a, a again, {3} kept"));
        QCOMPARE(texts::Placeholders("{3}{1} {1}"), std::string("13"));
    }

    // English counts one thing in the singular, and every other number (0, 21, "1,000", 1.5)
    // in the plural; a choice without its value is left as it stands.
    void countsTakeTheWordTheirNumberNeeds_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("said");
        for (const auto& [value, said] :
             {std::pair{"1", "1 experiment was"}, std::pair{"0", "0 experiments were"},
              std::pair{"21", "21 experiments were"}, std::pair{"1,000", "1,000 experiments were"},
              std::pair{"1.5", "1.5 experiments were"}}) {
            QTest::newRow(value) << QString(value) << QString(said);
        }
    }
    void countsTakeTheWordTheirNumberNeeds() {
        QFETCH(QString, value);
        QFETCH(QString, said);
        const std::string v = value.toStdString();
        QCOMPARE(QString::fromStdString(
                     texts::Format("{1} {1?experiment|experiments} {1?was|were}", {v})),
                 said);
        QCOMPARE(texts::Format("{2?one|other} {1}", {v}), std::string("{2?one|other} ") + v);
    }

    // No English count reads "1 experiments", "1 rows", "1 trials" or "1 rungs" (the result
    // line's rung count is 10 to 50, and its words stay as every released line has them).
    void noEnglishCountOfOneIsPlural() {
        QVERIFY(texts::Use("en"));
        for (int id = 0; id < static_cast<int>(TextId::Count); ++id) {
            if (static_cast<TextId>(id) == TextId::ResultRungs) {
                continue;
            }
            const std::string said =
                texts::Format(static_cast<TextId>(id), {"1", "1", "1", "1", "1"});
            for (const char* plural : {"1 experiments", "1 rows", "1 trials", "1 rungs", "1 times",
                                       "1 lines", "1 experiments"}) {
                QVERIFY2(said.find(plural) == std::string::npos, said.c_str());
            }
        }
    }

    void cleanup() { texts::Use("ja"); }
};

QTEST_GUILESS_MAIN(CatalogueTest)
#include "test_catalogue.moc"
