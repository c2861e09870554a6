#pragma once
// Request envelopes of the route service operations. Text values are written with "&", "<" and
// ">" escaped; numbers in their shortest decimal form.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvine::service {

// Envelope asking for every order segment of the load at the facility. Never fails.
std::string GetOutgoingLoadAllOrdersRequest(std::int16_t loadId, std::string_view facilityId);

// Envelope asking for the load's basic totals. Never fails.
std::string GetOutgoingLoadBasicTotalRequest(std::int16_t loadId);

// Envelope asking for the centers on the load's route. Never fails.
std::string GetOutgoingLoadCenterIDAndCenterRequest(std::int16_t loadId);

// Envelope asking for the load's description and route. Never fails.
std::string GetOutgoingLoadDescriptionRouteRequest(std::int16_t loadId);

// Envelope asking whether the P.O. has been received and where it belongs. Never fails.
std::string IsPOFoundRequest(std::string_view orderId);

// Envelope adding an astray P.O. segment to the load. Never fails.
std::string AddAstrayPORequest(std::string_view orderId, std::int16_t segment, double freight,
                               std::int16_t cartons, std::string_view comment, std::int16_t loadId);

// Envelope of the update carrying every statement, empty ones included, as one string element
// each followed by CR LF. Whether to send it at all is the caller's decision. Never fails.
std::string UpdateOutgoingLoadOrderEnvelope(const std::vector<std::string>& statements);

// That envelope as the transport sends it (parsed and written out again), made in one pass: a
// save of every row of a large load sends megabytes. Nothing when a statement holds text that is
// not UTF-8 of XML characters, which the parse refuses.
std::optional<std::string> writtenUpdateOutgoingLoadOrderRequest(
    const std::vector<std::string>& statements);

}  // namespace tarvine::service
