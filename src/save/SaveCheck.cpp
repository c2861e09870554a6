#include "save/SaveCheck.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "load/OrderReader.h"
#include "platform/Convert.h"
#include "platform/RuntimeError.h"

namespace tarvine {
namespace {

constexpr std::size_t kShownLines = 10;
constexpr std::string_view kSince = " since you opened it";

struct SegmentKey {
  std::string_view orderID;
  std::int16_t segment = 0;
  bool operator==(const SegmentKey&) const = default;
};

struct SegmentKeyHash {
  std::size_t operator()(const SegmentKey& key) const {
    return std::hash<std::string_view>{}(key.orderID) * 31 +
           static_cast<std::uint16_t>(key.segment);
  }
};

template <typename T>
using BySegment = std::unordered_map<SegmentKey, T, SegmentKeyHash>;

// The records of the written P.O.s among the first `count` of orders: by P.O. in record order,
// and by P.O. and segment (the first record of a repeated segment).
struct WrittenRecords {
  std::unordered_map<std::string_view, std::vector<std::size_t>> byOrder;
  BySegment<std::size_t> byKey;

  WrittenRecords(const OrderArray& orders, std::size_t count,
                 const std::unordered_set<std::string_view>& written) {
    for (std::size_t i = 0; i < count; ++i) {
      const AllOrdersUDT& record = orders[i];
      if (!written.contains(record.OrderID)) continue;
      byOrder[record.OrderID].push_back(i);
      byKey.emplace(SegmentKey{record.OrderID, record.Segment}, i);
    }
  }
  const std::vector<std::size_t>& of(std::string_view order) const {
    static const std::vector<std::size_t> none;
    const auto found = byOrder.find(order);
    return found == byOrder.end() ? none : found->second;
  }
};

// Everything one P.O.'s lines are made from.
struct Compared {
  const OrderArray& loaded;
  const std::vector<LoadedSegment>& loadedState;
  const OrderArray& now;
  const WrittenRecords& before;
  const WrittenRecords& after;
  const BySegment<const WrittenSegment*>& written;
};

bool sameCents(double a, double b) {
  return std::llround(a * 100) == std::llround(b * 100);
}

void describeOrder(const std::string& order, const Compared& c, std::vector<std::string>& lines) {
  auto segmentLine = [&](std::int16_t segment, const std::string& what) {
    return order + " segment " + convert::integerText(segment) + ": " + what + std::string(kSince);
  };
  const std::vector<std::size_t>& was = c.before.of(order);
  std::vector<std::string> moved, other;
  std::size_t off = 0, on = 0, gone = 0, added = 0;
  for (std::size_t k = 0; k < was.size(); ++k) {
    const AllOrdersUDT& record = c.loaded[was[k]];
    const LoadedSegment& then = c.loadedState[was[k]];
    const SegmentKey key{record.OrderID, record.Segment};
    const auto found = c.after.byKey.find(key);
    if (found == c.after.byKey.end()) {
      ++gone;
      other.push_back(segmentLine(record.Segment, "gone from this load's list"));
      continue;
    }
    const AllOrdersUDT& current = c.now[found->second];
    const auto writtenAt = c.written.find(key);
    const WrittenSegment* mine = writtenAt == c.written.end() ? nullptr : writtenAt->second;
    if (then.onLoad != current.Checked && !(mine && mine->onLoad == current.Checked)) {
      ++(current.Checked ? on : off);
      moved.push_back(segmentLine(record.Segment, current.Checked
                                                      ? "put on this load by someone else"
                                                      : "taken off this load by someone else"));
    }
    // The other segments of a P.O. show and save 0.00, so only the first one's freight counts.
    if (k == 0 && !sameCents(then.freight, current.Freight) &&
        !(mine && mine->freight && sameCents(*mine->freight, current.Freight))) {
      other.push_back(segmentLine(record.Segment, "freight changed from " +
                                                      freightText(then.freight) + " to " +
                                                      freightText(current.Freight)));
    }
    if (then.overridden != (current.OverrideFreight == 1)) {
      other.push_back(
          segmentLine(record.Segment, current.OverrideFreight == 1
                                          ? "freight override set by someone else"
                                          : "freight override removed by someone else"));
    }
  }
  for (std::size_t index : c.after.of(order)) {
    const AllOrdersUDT& current = c.now[index];
    if (c.before.byKey.contains(SegmentKey{current.OrderID, current.Segment})) continue;
    ++added;
    other.push_back(segmentLine(current.Segment, current.Checked
                                                     ? "added to this load by someone else"
                                                     : "added to this load's list"));
  }

  const std::size_t segments = was.size();
  if (segments > 0 && gone == segments && added == 0) {
    lines.push_back(order + ": gone from this load's list" + std::string(kSince));
    return;
  }
  if (segments > 0 && (off == segments || on == segments)) {
    lines.push_back(order + (on ? ": put on" : ": taken off") + " this load by someone else" +
                    std::string(kSince));
  } else {
    lines.insert(lines.end(), moved.begin(), moved.end());
  }
  lines.insert(lines.end(), other.begin(), other.end());
}

}  // namespace

std::vector<LoadedSegment> loadedStateOf(const OrderArray& orders) {
  std::vector<LoadedSegment> state;
  state.reserve(filledCount(orders));
  for (std::size_t i = 0; i < filledCount(orders); ++i) {
    const AllOrdersUDT& record = orders[i];
    state.push_back(LoadedSegment{record.Freight, record.Checked, record.OverrideFreight == 1});
  }
  return state;
}

void restoreLoadedFreight(OrderArray& orders, const std::vector<LoadedSegment>& loadedState) {
  const std::size_t count = std::min(filledCount(orders), loadedState.size());
  for (std::size_t i = 0; i < count; ++i) orders[i].Freight = loadedState[i].freight;
}

std::vector<std::string> changesSinceLoaded(const OrderArray& loaded,
                                            const std::vector<LoadedSegment>& loadedState,
                                            const OrderArray& now,
                                            const std::vector<WrittenSegment>& written) {
  std::vector<std::string> orders;
  std::unordered_set<std::string_view> writtenOrders;
  BySegment<const WrittenSegment*> writtenSegments;
  for (const WrittenSegment& segment : written) {
    if (writtenOrders.insert(segment.orderID).second) orders.push_back(segment.orderID);
    writtenSegments.emplace(SegmentKey{segment.orderID, segment.segment}, &segment);
  }
  // The state is taken whenever Orders is replaced; a record without one is not compared.
  const WrittenRecords before(loaded, std::min(filledCount(loaded), loadedState.size()),
                              writtenOrders);
  const WrittenRecords after(now, filledCount(now), writtenOrders);
  const Compared compared{loaded, loadedState, now, before, after, writtenSegments};
  std::vector<std::string> lines;
  for (const std::string& order : orders) describeOrder(order, compared, lines);
  return lines;
}

std::vector<std::optional<bool>> onLoadNow(const OrderArray& now,
                                           const std::vector<WrittenSegment>& written) {
  BySegment<bool> held;
  for (std::size_t i = 0; i < filledCount(now); ++i) {
    held.emplace(SegmentKey{now[i].OrderID, now[i].Segment}, now[i].Checked);
  }
  std::vector<std::optional<bool>> states;
  states.reserve(written.size());
  for (const WrittenSegment& segment : written) {
    const auto found = held.find(SegmentKey{segment.orderID, segment.segment});
    states.push_back(found == held.end() ? std::nullopt : std::optional<bool>(found->second));
  }
  return states;
}

void confirmSave(Dialogs& dialogs, const std::string& prompt, const std::string& title,
                 std::string_view question) {
  const int answer = dialogs.messageBox(prompt, kMsgSaveQuestion, title);
  if (answer == kMsgResultYes) return;
  const std::string named = answer == kMsgResultNo       ? "No"
                            : answer == kMsgResultCancel ? "Cancel"
                            : answer == kMsgResultOk     ? "OK"
                                                         : convert::integerText(answer);
  throw RuntimeError(kErrSaveNotConfirmed,
                     "The changes were not saved: the save was not confirmed (\"" +
                         std::string(question) + "\" was answered " + named + ")");
}

std::string saveOverQuestion(const std::vector<std::string>& changes) {
  std::string text;
  for (std::size_t i = 0; i < changes.size() && i < kShownLines; ++i) text += changes[i] + "\r\n";
  if (changes.size() > kShownLines) {
    text += "and " + convert::integerText(changes.size() - kShownLines) + " more\r\n";
  }
  text += "\r\n";
  text += kSaveOverQuestion;
  text += " Choose No to keep your changes unsaved and look first.";
  return text;
}

}  // namespace tarvine
