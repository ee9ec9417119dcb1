// Importing question banks of growing size in each format the quiz reads:
// the time per question must stay flat, and 10,000 questions of any format
// come in well under half a second.
#include "base/Cp1252.h"
#include "bench/BenchSupport.h"
#include "bench/BigDocument.h"
#include "exchange/GiftWriter.h"
#include "exchange/MoodleXmlWriter.h"
#include "exchange/QuestionBanks.h"
#include "exchange/SpreadsheetCsv.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

namespace {

using tavimor::TBankFormat;
using tavimor::TQuizDocument;

// The bank as an Aiken file (UTF-8): the question on one line, its choices
// A., B., ... then the right letter (true/false and cloze questions alike).
std::string AikenText(const TQuizDocument& doc)
{
    std::string text;
    for (int n = 1; n <= doc.Quests.Count(); ++n) {
        const tavimor::TQuest& quest = doc.Quests.Quest(n);
        std::string question = quest.QText;
        for (char& c : question)
            if (c == '\r' || c == '\n')
                c = ' ';
        text += tavimor::Cp1252ToUtf8ResolvingReferences(question) + "\n";
        for (std::size_t k = 0; k < quest.Reps.size() && k < 26; ++k)
            text += std::string(1, static_cast<char>('A' + k)) + ". "
                + tavimor::Cp1252ToUtf8ResolvingReferences(quest.Reps[k]) + "\n";
        text += std::string("ANSWER: ") + static_cast<char>('A' + std::max(0, quest.GoodRep)) + "\n\n";
    }
    return text;
}

std::string BankText(TBankFormat format, const TQuizDocument& doc)
{
    switch (format) {
    case TBankFormat::Gift:
        return tavimor::GiftText(doc, "banque").Text;
    case TBankFormat::MoodleXml:
        return tavimor::MoodleXml(doc, "banque.kwz").Text;
    case TBankFormat::Aiken:
        return AikenText(doc);
    case TBankFormat::Spreadsheet:
        return tavimor::SpreadsheetCsvText(doc.Quests);
    }
    return {};
}

void BM_ImportBank(benchmark::State& state, TBankFormat format)
{
    const int count = static_cast<int>(state.range(0));
    const std::string text = BankText(format, tavimor::bench::MakeShortDocument(count));
    for (auto _ : state) {
        const tavimor::TImportedBank bank = tavimor::ReadQuestionBank(format, text);
        if (static_cast<int>(bank.Quests.size()) != count)
            state.SkipWithError("the import did not give back every question");
        benchmark::DoNotOptimize(bank.Quests.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    tavimor::bench::CountQuestions(state);
}

} // namespace

BENCHMARK_CAPTURE(BM_ImportBank, gift, TBankFormat::Gift)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ImportBank, moodle_xml, TBankFormat::MoodleXml)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ImportBank, aiken, TBankFormat::Aiken)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ImportBank, spreadsheet, TBankFormat::Spreadsheet)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
