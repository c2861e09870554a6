#include "service/DataSet.h"

#include <gtest/gtest.h>

#include "ServiceReplies.h"
#include "platform/RuntimeError.h"

namespace tarvine::service {
namespace {

using test::ReplyRow;

// Every row the walk hands over, copied out of the callback.
std::vector<ReplyRow> rowsOf(std::string text) {
  std::vector<ReplyRow> rows;
  ReadDataSetRows(std::move(text), [&](const DataSetRow& row) {
    ReplyRow& copy = rows.emplace_back();
    for (const DataSetColumn& column : row) copy.emplace_back(column.name, column.text);
  });
  return rows;
}

// A data set shaped by hand: levels above the rows are given as start and end text.
std::string wrapped(std::string_view open, std::string_view inner, std::string_view close) {
  return std::string(open) + std::string(inner) + std::string(close);
}

constexpr std::string_view kOpen =
    "<Root><DataSet><diffgr:diffgram xmlns:diffgr=\"urn:d\"><NewDataSet>";
constexpr std::string_view kClose = "</NewDataSet></diffgr:diffgram></DataSet></Root>";

TEST(ReadDataSetRows, RowsAndColumnsInDocumentOrder) {
  const std::vector<ReplyRow> rows = {{{"OrderID", "4711"}, {"Freight", "12.5"}},
                                      {{"OrderID", "A&B <x>"}, {"NoRate", ""}}};
  EXPECT_EQ(rowsOf(test::unwrappedReply(test::dataSetText(rows))), rows);
}

TEST(ReadDataSetRows, EveryMatchAtEveryLevelIsWalked) {
  const std::string text =
      "<Root><DataSet>"
      "<diffgr:diffgram><NewDataSet><Table><A>1</A></Table><Other><Table><A>x</A></Table></Other>"
      "<Table><A>2</A></Table></NewDataSet><NewDataSet><Table><A>3</A></Table></NewDataSet>"
      "</diffgr:diffgram>"
      "<diffgr:diffgram><NewDataSet><Table><A>4</A></Table></NewDataSet></diffgr:diffgram>"
      "</DataSet><DataSet><diffgr:diffgram><NewDataSet><Table><A>5</A></Table></NewDataSet>"
      "</diffgr:diffgram></DataSet></Root>";
  std::vector<ReplyRow> expected;
  for (const char* value : {"1", "2", "3", "4", "5"}) expected.push_back({{"A", value}});
  EXPECT_EQ(rowsOf(text), expected);
}

// A row holds its children as they come: repeated names twice, other nodes by their node names.
TEST(ReadDataSetRows, RowsHandOverEveryChild) {
  EXPECT_EQ(rowsOf(wrapped(kOpen, "<Table/><Table><A>1</A><A>2</A></Table>", kClose)),
            (std::vector<ReplyRow>{{}, {{"A", "1"}, {"A", "2"}}}));
  EXPECT_EQ(
      rowsOf(wrapped(kOpen, "<Table>loose<A>1</A><!--c--><B><i>x</i>y</B></Table>", kClose)),
      (std::vector<ReplyRow>{{{"#text", "loose"}, {"A", "1"}, {"#comment", "c"}, {"B", "xy"}}}));
}

// Texts that hold no data set give no rows and no error.
TEST(ReadDataSetRows, NoDataSetGivesNoRows) {
  for (const std::string& text :
       {std::string(), std::string("   "), wrapped(kOpen, "<Table><A>1</Table>", kClose),
        wrapped(kOpen, "<Table><A>1</A></Table>", kClose) + wrapped(kOpen, "<Table/>", kClose),
        test::soapFaultReply("Server was unable to process request."),
        std::string("<Root><Table><A>1</A></Table></Root>"),
        std::string("<Root><DataSet><NewDataSet><Table><A>1</A></Table></NewDataSet>"
                    "</DataSet></Root>"),
        std::string("<Root><DataSet><diffgram><NewDataSet><Table><A>1</A></Table>"
                    "</NewDataSet></diffgram></DataSet></Root>"),
        std::string("<root><DataSet><diffgr:diffgram><NewDataSet><Table><A>1</A>"
                    "</Table></NewDataSet></diffgr:diffgram></DataSet></root>"),
        test::transportResult("IsPOFound", test::dataSetText({{{"A", "1"}}})),
        test::dataSetText({})}) {
    EXPECT_TRUE(rowsOf(text).empty()) << text;
  }
}

TEST(ReadDataSetRows, DeepNestingInsideAndOutsideTheRowsIsHarmless) {
  constexpr int kDepth = 100'000;
  std::string deep;
  for (int i = 0; i < kDepth; ++i) deep += "<d>";
  deep += "x";
  for (int i = 0; i < kDepth; ++i) deep += "</d>";
  const std::string text =
      wrapped(kOpen, "<Table><A>" + deep + "</A></Table><Skipped>" + deep + "</Skipped>", kClose);
  EXPECT_EQ(rowsOf(text), (std::vector<ReplyRow>{{{"A", "x"}}}));
}

// A data set sent as escaped text passes the reply's own check; its parse refuses it.
TEST(ReadDataSetRows, CostlyDataSetIsRefusedNotEmpty) {
  std::string text = "<Root>";
  for (int i = 0; i < 500'000; ++i) text += "<b/>";
  try {
    rowsOf(text + "</Root>");
    ADD_FAILURE() << "no refusal";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), 7);
  }
}

TEST(ReadDataSetRows, LargestLoadIsReadCompletely) {
  constexpr int kRows = 32'767;
  ReplyRow row;
  for (int c = 0; c < 17; ++c) row.emplace_back("Column" + std::to_string(c), std::to_string(c));
  const std::string text = test::dataSetText(std::vector<ReplyRow>(kRows, row));
  int rows = 0;
  std::size_t columns = 0;
  ReadDataSetRows(text, [&](const DataSetRow& seen) {
    ++rows;
    columns += seen.size();
  });
  EXPECT_EQ(rows, kRows);
  EXPECT_EQ(columns, std::size_t{kRows} * 17);
}

}  // namespace
}  // namespace tarvine::service
