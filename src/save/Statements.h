#pragma once
// The statement texts the save sends to the back office. Their wording is an interface of the
// back office and is built character for character.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvine {

// An order id inside single quotes, every quote in it doubled.
std::string quotedOrderID(std::string_view orderID);

// A freight cell as a plain number: the digit grouping removed (1,234.50 -> 1234.50).
std::string plainFreight(std::string_view freightText);

// The update that puts a segment on the load (checked) or takes it off (unchecked).
std::string updateStatement(bool checked, std::int32_t loadID, std::string_view freightText,
                            std::int32_t centerID, std::string_view orderID,
                            std::string_view segmentText);

// The progress history call: code 2 for a segment put on the load, 5 for one taken off.
std::string historyStatement(int code, std::string_view orderID, std::int16_t segment,
                             std::int16_t personID, std::int16_t personTypeID);

// The center id of an order id while all centers are shown: the text before the first "-" read
// leniently. Throws RuntimeError 5 when the id holds no "-", 6 when it does not fit 32 bits.
std::int32_t centerIDOfOrder(std::string_view orderID);

}  // namespace tarvine
