#include "DataSetWriter.h"

#include "ReplyAllowance.h"

namespace tarvine::serve {
namespace {

// The data set's own markup, escaped once so that it travels as element text.
constexpr std::string_view kHead =
    "&lt;Root&gt;&lt;DataSet&gt;&lt;diffgr:diffgram "
    "xmlns:msdata=\"urn:schemas-microsoft-com:xml-msdata\" "
    "xmlns:diffgr=\"urn:schemas-microsoft-com:xml-diffgram-v1\"&gt;";
constexpr std::string_view kTail = "&lt;/diffgr:diffgram&gt;&lt;/DataSet&gt;&lt;/Root&gt;";

// How much the text grows between two requests for room to the thread's reply allowance.
constexpr std::size_t kChargeEvery = std::size_t{1} << 20;

// Bytes per row of a wide query, to size the buffer once.
constexpr std::size_t kRowBytesGuess = 1100;

bool allowedInXml(unsigned char c) {
  return c >= 0x20 || c == '\t' || c == '\n' || c == '\r';
}

// A value escaped as the data set writes it, then escaped again as result text.
void appendValue(std::string& out, std::string_view value) {
  for (const char c : value) {
    switch (c) {
      case '&':
        out += "&amp;amp;";
        break;
      case '<':
        out += "&amp;lt;";
        break;
      case '>':
        out += "&amp;gt;";
        break;
      default:
        if (allowedInXml(static_cast<unsigned char>(c))) out += c;
    }
  }
}

}  // namespace

DataSetWriter::DataSetWriter(std::size_t expectedRows) {
  text_.reserve(kHead.size() + kTail.size() + expectedRows * kRowBytesGuess);
  text_ += kHead;
}

void DataSetWriter::beginRow() {
  if (rows_ == 0) text_ += "&lt;NewDataSet&gt;";
  ++rows_;
  text_ += "&lt;Table diffgr:id=\"Table";
  text_ += std::to_string(rows_);
  text_ += "\" msdata:rowOrder=\"";
  text_ += std::to_string(rows_ - 1);
  text_ += '"';
  rowEmpty_ = true;
}

void DataSetWriter::column(std::string_view name, std::string_view value) {
  if (rowEmpty_) text_ += "&gt;";
  rowEmpty_ = false;
  text_ += "&lt;";
  text_ += name;
  text_ += "&gt;";
  appendValue(text_, value);
  text_ += "&lt;/";
  text_ += name;
  text_ += "&gt;";
}

void DataSetWriter::reserve(std::size_t bytes) {
  ReplyAllowance::charge(bytes);
  charged_ += bytes;
}

void DataSetWriter::endRow() {
  text_ += rowEmpty_ ? " /&gt;" : "&lt;/Table&gt;";
  if (text_.size() >= charged_ + kChargeEvery) chargeGrowth();
}

void DataSetWriter::chargeGrowth() {
  if (text_.size() <= charged_) return;
  ReplyAllowance::charge(text_.size() - charged_);
  charged_ = text_.size();
}

std::string DataSetWriter::finish() {
  text_ += rows_ == 0 ? "&lt;NewDataSet /&gt;" : "&lt;/NewDataSet&gt;";
  text_ += kTail;
  chargeGrowth();
  return std::move(text_);
}

}  // namespace tarvine::serve
