// Writes a query's rows as the serialized data set that a result element carries as text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tarvine::serve {

// Builds Root / DataSet / diffgr:diffgram / NewDataSet / Table rows, already escaped for use as
// the text of a result element: markup appears as "&lt;Table ...&gt;" and a value's "&" as
// "&amp;amp;". Rows get diffgr:id "Table1", "Table2", ... and msdata:rowOrder 0, 1, ...
class DataSetWriter {
 public:
  // Starts a data set; expectedRows only sizes the buffer.
  explicit DataSetWriter(std::size_t expectedRows = 1);
  // Opens the next row.
  void beginRow();
  // Adds one column to the open row; characters that XML cannot carry are dropped from value.
  void column(std::string_view name, std::string_view value);
  // Asks the thread's ReplyAllowance for bytes before any row is written, for a reply known to
  // be at least that large: one the service cannot hold is refused (ReplyRefused) before its
  // query runs. Growth past them is asked as it comes.
  void reserve(std::size_t bytes);
  // Closes the open row. Each MiB the text grows is asked of the thread's ReplyAllowance
  // first; throws ReplyRefused when it refuses.
  void endRow();
  // Closes the data set and hands over its text, after asking the ReplyAllowance for the rest
  // of it (throws ReplyRefused); the writer is spent afterwards.
  std::string finish();
  // Rows written so far.
  std::size_t rows() const { return rows_; }

 private:
  std::string text_;
  std::size_t rows_ = 0;
  std::size_t charged_ = 0;  // bytes of text_ taken from the reply allowance

  void chargeGrowth();
  bool rowEmpty_ = true;
};

}  // namespace tarvine::serve
