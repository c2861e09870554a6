#pragma once
// What rides on this truck, segment by segment: the weight, cube and cartons of each P.O.'s
// segments on this load and off it, from the control's records and which of them are on the
// load. The trailer's gauges add up the segments on the load; the fill proposal takes each
// P.O.'s segments off it as a candidate.
//
// A P.O.'s segments are counted each with its own figures (NumberParcels, FactoryWeight,
// CubicFeet), never with the P.O.'s total weight that the list shows on its first row: a P.O.
// split over two loads counts on each truck with the segments that ride on it.

#include <string>
#include <vector>

#include "control/OrderPick.h"
#include "tools/FillProposal.h"

namespace tarvine::tools {

// One segment's own figures; a cube that is not a number counts 0.
FillFigures segmentFigures(const AllOrdersUDT& record);

// A P.O. of the load's records with the sums of its segments on this load and off it.
struct OrderFigures {
  std::string id;
  bool hot = false;  // some segment of it is hot
  FillFigures onLoad;
  FillFigures offLoad;
};

// One entry per P.O. of the first onLoad.size() records, in the order of their first records;
// record i is on the load when onLoad[i] is true. Linear in the records.
std::vector<OrderFigures> orderFigures(const OrderArray& records, const std::vector<bool>& onLoad);

// The sums of every P.O.'s segments on the load.
FillFigures onLoadTotal(const std::vector<OrderFigures>& orders);

// Which of the control's filled records the last read put on the load shown (their
// OutgoingLoad is its id).
std::vector<bool> onThisLoadAsRead(const OrderPick& control);

// Which of them the screen puts on the load shown now, unsaved picks included: a record with a
// row in the list when the row is checked and either the last read had it on this load or the
// dispatcher changed the row (a save puts it on this load); a record the list does not show
// (another center is chosen) as the last read had it. Linear in the records and rows.
std::vector<bool> onThisLoadNow(const OrderPick& control);

}  // namespace tarvine::tools
