// The fill proposal against answers worked out by hand, an exhaustive enumeration (1,000 small
// loads) and a second solver run as its own program (glpsol, 50 larger loads); never times.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <sstream>
#include <tuple>

#include "RunCommand.h"
#include "TemporaryFolder.h"
#include "tools/FillProposal.h"

namespace tarvine::tools {
namespace {

// "*300/50/1 950/60/1": P.O.s A, B... with their weight/cube/cartons, a star for a hot one.
std::vector<FillCandidate> candidatesOf(const std::string& text) {
  std::vector<FillCandidate> made;
  std::istringstream in(text);
  for (std::string po; in >> po;) {
    FillCandidate& c = made.emplace_back(std::string(1, char('A' + made.size())), po[0] == '*');
    std::sscanf(po.c_str() + c.hot, "%lf/%lf/%lf", &c.remaining.weight, &c.remaining.cube,
                &c.remaining.cartons);
  }
  return made;
}

TEST(FillProposal, AnswersWorkedOutByHand) {
  using Chosen = std::vector<std::size_t>;
  const std::tuple<const char*, FillFigures, TrailerLimits, Chosen, const char*> cases[] = {
      // A hot P.O. before a heavier one; then the cube binds before the weight; then cartons.
      {"*300/50/1 950/60/1 600/40/1", {}, {1000, 100, {}}, {0, 2}, "best fill"},
      {"2000/70/1 1500/50/1 1400/50/1", {}, {10000, 100, {}}, {1, 2}, "best fill"},
      {"500/10/8 400/10/8", {}, {10000, 1000, 10}, {0}, "best fill"},
      {"1/1/1",
       {0, 1200, 0},
       {10000, 1000, {}},
       {},
       "the load is already over the trailer's cube limit"},
      {"1/1/1 nan/1/1",
       {},
       {10000, 1000, {}},
       {},
       "P.O. B has a weight, cube or carton count that is not a number of 0 or more"},
      {"1/1/1", {}, {0, 1000, {}}, {}, "the weight limit must be a number of pounds above 0"},
  };
  for (const auto& [candidates, onLoad, limits, chosen, quality] : cases) {
    const FillProposal proposal = proposeFill({candidatesOf(candidates), onLoad, limits});
    EXPECT_EQ(proposal.chosen, chosen) << candidates;
    EXPECT_EQ(fillQuality(proposal), quality) << candidates;
  }
}

TEST(FillProposal, QualityTellsTheGapRoundedUpOrTheHotCountNotRuledOut) {
  const std::tuple<int, int, std::optional<double>, const char*> cases[] = {
      {1, 1, 0.0021, "within 0.3 % of the best fill"},
      {1, 1, 0.012, "within 1.2 % of the best fill"},
      {1, 3, {}, "up to 2 more hot P.O.s may fit"},
      {0, 1, {}, "up to 1 more hot P.O. may fit"},
  };
  for (const auto& [hot, possible, gap, text] : cases) {
    FillProposal made;
    std::tie(made.hotAdded, made.hotPossible, made.gap) = std::tie(hot, possible, gap);
    EXPECT_EQ(fillQuality(made), text);
  }
}

// The best by hot count, then the truck's weight; hot -1: a load over a limit.
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
  if (!within(request.onLoad, request.limits)) return {};
  const FillFigures& on = request.onLoad;
  const double rooms[] = {request.limits.weight - on.weight, request.limits.cube - on.cube,
                          (request.limits.cartons ? *request.limits.cartons : 1e12) - on.cartons};
  Best best{0, on.weight};
  for (const bool byWeight : {false, true}) {
    std::ostringstream lp;
    lp.precision(17);
    const auto sum = [&](auto coefficient) {
      for (std::size_t i = 0; i < request.candidates.size(); ++i) {
        const FillCandidate& c = request.candidates[i];
        lp << " + " << coefficient(c.remaining, c.hot) << " x" << i;
      }
    };
    lp << "Maximize\n obj:";
    sum([&](const FillFigures& f, bool hot) { return byWeight ? f.weight : hot; });
    lp << "\nSubject To\n";
    for (std::size_t r = 0; r < 3; ++r) {
      sum([r](const FillFigures& f, bool) { return std::array{f.weight, f.cube, f.cartons}[r]; });
      lp << " <= " << rooms[r] << "\n";
    }
    sum([](const FillFigures&, bool hot) { return hot; });
    lp << " >= " << (byWeight ? best.hot : 0) << "\nBinary\n";
    for (std::size_t i = 0; i < request.candidates.size(); ++i) lp << " x" << i;
    test::writeText(folder / "fill.lp", lp.str() + "\nEnd\n");
    const auto [status, output] =
        test::runCommand("glpsol --mipgap 1e-4 --lp " + (folder / "fill.lp").string() + " -w " +
                         (folder / "fill.sol").string());
    const std::string solution = test::readText(folder / "fill.sol");
    std::istringstream line(solution.substr(std::min(solution.find("\ns mip "), solution.size())));
    std::string skip, state;  // the line is "s mip ROWS COLUMNS STATE VALUE"; f: within the gap
    double value = 0;
    line >> skip >> skip >> skip >> skip >> state >> value;
    EXPECT_TRUE(status == 0 && (state == "o" || state == "f")) << output << solution;
    best.hot = byWeight ? best.hot : static_cast<int>(std::lround(value));
    best.weight += byWeight ? value : 0;
  }
  return best;
}

// A random load: figures in cents, a third of the P.O.s hot, cube and cartons not tied to weight,
// cartons limited on every other load, some P.O.s on the load already (now and then too many).
FillRequest randomRequest(std::mt19937& random, std::size_t candidates) {
  const auto cents = [&random](double high) {
    return std::round(std::uniform_real_distribution<double>(0, high)(random) * 100) / 100;
  };
  FillRequest request;
  for (std::size_t i = 0; i < candidates; ++i) {
    request.candidates.push_back(
        {"", random() % 3 == 0, {cents(3000), cents(400), std::round(cents(80))}});
  }
  request.limits = {1 + cents(12000), 1 + cents(1500), {}};
  if (random() % 2 == 0) request.limits.cartons = 1 + static_cast<int>(cents(300));
  request.onLoad = {cents(4000), cents(500), std::round(cents(100))};
  request.budget = std::chrono::seconds(60);  // the proof decides when it stops, not the clock
  return request;
}

// What every proposal must keep: the chosen in candidate order, its figures their sums, every
// limit kept; and the best hot count and weight, as the reference found them.
void expectBest(const FillRequest& request, const FillProposal& proposal, const Best& best) {
  EXPECT_EQ(best.hot < 0, !proposal.refusal.empty());
  if (best.hot < 0) return;
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
  for (int run = 0; run < 1000 / TARVINE_FILL_SHARE; ++run) {
    const FillRequest request = randomRequest(random, random() % 21);
    Best best;
    enumerate(request, 0, 0, request.onLoad, best);
    expectBest(request, proposeFill(request), best);
  }
}

TEST(FillProposal, EqualsASecondSolverOnLargerLoads) {
  test::TemporaryFolder folder;
  std::mt19937 random(200);
  // The sanitizers slow the solver's many allocations so much that a proof takes minutes.
  if (TARVINE_FILL_SHARE > 1) GTEST_SKIP() << "glpsol is compared in builds without sanitizers";
  for (int run = 0; run < 50; ++run) {
    const FillRequest request = randomRequest(random, 200);
    expectBest(request, proposeFill(request), secondSolver(request, folder.path()));
  }
}

}  // namespace
}  // namespace tarvine::tools
