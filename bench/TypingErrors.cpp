#include "TypingErrors.h"

#include <algorithm>
#include <cstdio>

namespace pontrel::bench {

TypingErrors compareTyped(const std::u32string& sent, const std::u32string& received) {
    const std::size_t n = sent.size();
    const std::size_t m = received.size();
    // Optimal string alignment distance, then walked back to count each kind of edit.
    std::vector<std::vector<int>> cost(n + 1, std::vector<int>(m + 1, 0));
    for (std::size_t i = 0; i <= n; ++i) {
        cost[i][0] = static_cast<int>(i);
    }
    for (std::size_t j = 0; j <= m; ++j) {
        cost[0][j] = static_cast<int>(j);
    }
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            const int same = sent[i - 1] == received[j - 1] ? 0 : 1;
            int best =
                std::min({cost[i - 1][j] + 1, cost[i][j - 1] + 1, cost[i - 1][j - 1] + same});
            if (i > 1 && j > 1 && sent[i - 1] == received[j - 2] &&
                sent[i - 2] == received[j - 1]) {
                best = std::min(best, cost[i - 2][j - 2] + 1);
            }
            cost[i][j] = best;
        }
    }
    TypingErrors errors;
    std::size_t i = n;
    std::size_t j = m;
    while (i > 0 || j > 0) {
        if (i > 0 && j > 0 && sent[i - 1] == received[j - 1] && cost[i][j] == cost[i - 1][j - 1]) {
            --i;
            --j;
        } else if (i > 1 && j > 1 && sent[i - 1] == received[j - 2] &&
                   sent[i - 2] == received[j - 1] && cost[i][j] == cost[i - 2][j - 2] + 1) {
            ++errors.reordered;
            i -= 2;
            j -= 2;
        } else if (i > 0 && j > 0 && cost[i][j] == cost[i - 1][j - 1] + 1) {
            ++errors.wrong;
            --i;
            --j;
        } else if (i > 0 && cost[i][j] == cost[i - 1][j] + 1) {
            ++errors.missing;
            --i;
        } else {
            ++errors.extra;
            --j;
        }
    }
    return errors;
}

TypingSummary summarise(const std::vector<TypingRun>& runs) {
    std::vector<double> ms;
    TypingSummary summary;
    for (const TypingRun& run : runs) {
        ms.push_back(run.ms);
        summary.errors.wrong += run.errors.wrong;
        summary.errors.missing += run.errors.missing;
        summary.errors.extra += run.errors.extra;
        summary.errors.reordered += run.errors.reordered;
    }
    summary.figures = figures(ms);
    return summary;
}

void printTyping(const char* who, const TypingSummary& summary, int length) {
    const Figures& f = summary.figures;
    const TypingErrors& e = summary.errors;
    std::printf(
        "    %-18s median %7.1f ms  p99 %7.1f ms  %6.0f chars/s  errors %d "
        "(wrong %d, missing %d, extra %d, reordered %d)\n",
        who, f.median, f.p99, length * 1000.0 / f.median, e.total(), e.wrong, e.missing, e.extra,
        e.reordered);
}

}  // namespace pontrel::bench
