// The fill proposal against answers worked out by hand, against an exhaustive enumeration on
// 1,000 small random loads, and against a second solver (glpsol, as its own program) on 50
// larger ones. Values are compared, never times.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

#include "RunCommand.h"
#include "TemporaryFolder.h"
#include "tools/FillProposal.h"

namespace tarvine::tools {
namespace {

struct HandCase {
  const char* name;
  std::vector<FillCandidate> candidates;
  FillFigures onLoad;
  TrailerLimits limits;
  std::vector<std::size_t> chosen;
  const char* quality;
};

TEST(FillProposal, AnswersWorkedOutByHand) {
  const double nan = std::nan("");
  const HandCase cases[] = {
      {"a hot P.O. before a heavier one",
       {{"A", true, {300, 50, 1}}, {"B", false, {950, 60, 1}}, {"C", false, {600, 40, 1}}},
       {},
       {1000, 100, {}},
       {0, 2},
       "best fill"},
      {"the cube binds before the weight",
       {{"A", false, {2000, 70, 1}}, {"B", false, {1500, 50, 1}}, {"C", false, {1400, 50, 1}}},
       {},
       {10000, 100, {}},
       {1, 2},
       "best fill"},
      {"cartons limited",
       {{"A", false, {500, 10, 8}}, {"B", false, {400, 10, 8}}},
       {},
       {10000, 1000, 10},
       {0},
       "best fill"},
      {"cartons not limited",
       {{"A", false, {500, 10, 8}}, {"B", false, {400, 10, 8}}},
       {},
       {10000, 1000, {}},
       {0, 1},
       "best fill"},
      {"the load takes room",
       {{"A", false, {1500, 1, 1}}, {"B", false, {800, 1, 1}}},
       {9000, 0, 0},
       {10000, 1000, {}},
       {1},
       "best fill"},
      {"a load over a limit",
       {{"A", false, {1, 1, 1}}},
       {0, 1200, 0},
       {10000, 1000, {}},
       {},
       "the load is already over the trailer's cube limit"},
      {"a figure that is not a number",
       {{"A", false, {1, 1, 1}}, {"B", false, {nan, 1, 1}}},
       {},
       {10000, 1000, {}},
       {},
       "P.O. B has a weight, cube or carton count that is not a number of 0 or more"},
      {"limits that cannot be used",
       {{"A", false, {1, 1, 1}}},
       {},
       {0, 1000, {}},
       {},
       "the weight limit must be a number of pounds above 0"},
  };
  for (const HandCase& c : cases) {
    const FillProposal proposal = proposeFill({c.candidates, c.onLoad, c.limits});
    EXPECT_EQ(proposal.chosen, c.chosen) << c.name;
    EXPECT_EQ(fillQuality(proposal), c.quality) << c.name;
  }
}

TEST(FillProposal, QualityTellsTheGapRoundedUpOrTheHotCountNotRuledOut) {
  const auto proposal = [](int hot, int possible, std::optional<double> gap) {
    FillProposal made;
    made.hotAdded = hot;
    made.hotPossible = possible;
    made.gap = gap;
    return made;
  };
  const std::pair<FillProposal, const char*> cases[] = {
      {proposal(1, 1, 0.0021), "within 0.3 % of the best fill"},
      {proposal(1, 1, 0.012), "within 1.2 % of the best fill"},
      {proposal(1, 3, {}), "up to 2 more hot P.O.s may fit"},
      {proposal(0, 1, {}), "up to 1 more hot P.O. may fit"},
  };
  for (const auto& [made, text] : cases) EXPECT_EQ(fillQuality(made), text);
}

// The best by hot count, then the truck's weight; hot is -1 when nothing fits (a load over a
// limit).
struct Best {
  int hot = -1;
  double weight = 0;
};

bool within(const FillFigures& sum, const TrailerLimits& limits) {
  constexpr double kSlack = 1e-6;
  return sum.weight <= limits.weight + kSlack && sum.cube <= limits.cube + kSlack &&
         (!limits.cartons || sum.cartons <= *limits.cartons + kSlack);
}

FillFigures plus(FillFigures sum, const FillFigures& more) {
  return {sum.weight + more.weight, sum.cube + more.cube, sum.cartons + more.cartons};
}

// Every choice of candidates from `next` on, once each; branches past a limit are cut.
void enumerate(const FillRequest& request, std::size_t next, int hot, FillFigures sum, Best& best) {
  if (!within(sum, request.limits)) return;
  if (hot > best.hot || (hot == best.hot && sum.weight > best.weight)) best = {hot, sum.weight};
  for (std::size_t i = next; i < request.candidates.size(); ++i) {
    const FillCandidate& candidate = request.candidates[i];
    enumerate(request, i + 1, hot + candidate.hot, plus(sum, candidate.remaining), best);
  }
}

// The best glpsol proves for the same request: first the most hot, then the most weight.
Best secondSolver(const FillRequest& request, const std::filesystem::path& folder) {
  const std::vector<std::pair<double, double>> limited = {
      {request.limits.weight, request.onLoad.weight},
      {request.limits.cube, request.onLoad.cube},
      {request.limits.cartons.value_or(1e12), request.onLoad.cartons}};
  if (!within(request.onLoad, request.limits)) return {};
  Best best{0, request.onLoad.weight};
  for (const bool byWeight : {false, true}) {
    std::ostringstream lp;
    lp.precision(17);
    const auto sum = [&](auto coefficient) {
      for (std::size_t i = 0; i < request.candidates.size(); ++i) {
        lp << " + " << coefficient(request.candidates[i]) << " x" << i;
      }
    };
    lp << "Maximize\n obj:";
    sum([&](const FillCandidate& c) { return byWeight ? c.remaining.weight : c.hot; });
    lp << "\nSubject To\n";
    for (std::size_t r = 0; r < limited.size(); ++r) {
      lp << " r" << r << ":";
      sum([&](const FillCandidate& c) {
        return std::array{c.remaining.weight, c.remaining.cube, c.remaining.cartons}[r];
      });
      lp << " <= " << limited[r].first - limited[r].second << "\n";
    }
    lp << " hot:";
    sum([](const FillCandidate& c) { return c.hot; });
    lp << " >= " << (byWeight ? best.hot : 0) << "\nBinary\n";
    for (std::size_t i = 0; i < request.candidates.size(); ++i) lp << " x" << i;
    lp << "\nEnd\n";
    test::writeText(folder / "fill.lp", lp.str());
    const auto [status, output] =
        test::runCommand("glpsol --mipgap 1e-4 --lp " + (folder / "fill.lp").string() + " -w " +
                         (folder / "fill.sol").string());
    EXPECT_EQ(status, 0) << output;
    const std::string solution = test::readText(folder / "fill.sol");
    const std::size_t at = solution.find("\ns mip ");
    std::istringstream line(solution.substr(at == std::string::npos ? 0 : at + 7));
    int rows = 0, columns = 0;
    std::string state;
    double value = 0;
    line >> rows >> columns >> state >> value;
    EXPECT_TRUE(state == "o" || state == "f") << solution;  // f: stopped within the gap
    if (byWeight) {
      best.weight = request.onLoad.weight + value;
    } else {
      best.hot = static_cast<int>(std::lround(value));
    }
  }
  return best;
}

// A random load: figures in cents, about a third of the P.O.s hot, cube and cartons not tied to
// the weight, cartons limited on every other load, and some P.O.s already on the load (now and
// then past a limit). `scale` grows the trailer with the number of candidates.
FillRequest randomRequest(std::mt19937& random, std::size_t candidates, double scale) {
  const auto cents = [&random](double high) {
    return std::round(std::uniform_real_distribution<double>(0, high)(random) * 100) / 100;
  };
  FillRequest request;
  for (std::size_t i = 0; i < candidates; ++i) {
    request.candidates.push_back({"P" + std::to_string(i),
                                  random() % 3 == 0,
                                  {cents(3000), cents(400), std::round(cents(80))}});
  }
  request.limits = {1 + cents(12000 * scale), 1 + cents(1500 * scale), {}};
  if (random() % 2 == 0) request.limits.cartons = 1 + static_cast<int>(cents(300 * scale));
  request.onLoad = {cents(4000), cents(500), std::round(cents(100))};
  return request;
}

// What every proposal must keep: the chosen in candidate order, its figures their sums, every
// limit kept; and the best hot count and weight, as the reference found them.
void expectBest(const FillRequest& request, const FillProposal& proposal, const Best& best) {
  if (best.hot < 0) {
    EXPECT_NE(proposal.refusal, "");
    return;
  }
  FillFigures sum = request.onLoad;
  int hot = 0;
  for (std::size_t i = 0; i < proposal.chosen.size(); ++i) {
    EXPECT_TRUE(i == 0 || proposal.chosen[i - 1] < proposal.chosen[i]);
    sum = plus(sum, request.candidates.at(proposal.chosen[i]).remaining);
    hot += request.candidates[proposal.chosen[i]].hot;
  }
  EXPECT_TRUE(within(sum, request.limits));
  EXPECT_NEAR(sum.weight, proposal.after.weight, 1e-6);
  EXPECT_EQ(hot, proposal.hotAdded);
  EXPECT_EQ(best.hot, proposal.hotAdded);
  EXPECT_GE(proposal.after.weight, best.weight * (1 - kBestFillGap) - 1e-6);
  EXPECT_LE(proposal.after.weight, best.weight / (1 - kBestFillGap) + 1e-6);
  EXPECT_TRUE(proposal.optimal);
}

TEST(FillProposal, EqualsAnExhaustiveEnumerationOnSmallLoads) {
  std::mt19937 random(32);
  for (int run = 0; run < 1000; ++run) {
    const FillRequest request = randomRequest(random, random() % 21, 1);
    Best best;
    enumerate(request, 0, 0, request.onLoad, best);
    expectBest(request, proposeFill(request), best);
  }
}

// Fewer under the sanitizers, which make both solvers several times slower.
#ifdef TARVINE_SANITIZE
constexpr int kLargerLoads = 12;
#else
constexpr int kLargerLoads = 50;
#endif

TEST(FillProposal, EqualsASecondSolverOnLargerLoads) {
  test::TemporaryFolder folder;
  std::mt19937 random(200);
  for (int run = 0; run < kLargerLoads; ++run) {
    FillRequest request = randomRequest(random, 200, 1);
    request.budget = std::chrono::seconds(60);  // the proof decides when it stops, not the clock
    expectBest(request, proposeFill(request), secondSolver(request, folder.path()));
  }
}

}  // namespace
}  // namespace tarvine::tools
