#include "service/DataSet.h"

#include <gtest/gtest.h>

#include "ServiceReplies.h"
#include "TestText.h"
#include "platform/RuntimeError.h"

namespace tarvine::service {
namespace {

using test::ReplyRow;

// Every row the walk hands over, as "[name=text ...]" per row.
std::string rowsOf(std::string text) {
  std::string rows;
  ReadDataSetRows(std::move(text), [&](const DataSetRow& row) {
    rows += "[";
    for (const DataSetColumn& column : row) {
      rows += (rows.back() == '[' ? "" : " ") + std::string(column.name) + "=";
      rows += column.text;
    }
    rows += "]";
  });
  return rows;
}

// A data set shaped by hand: the levels above the rows around `rows`.
std::string wrapped(std::string_view rows) {
  return "<Root><DataSet><diffgr:diffgram xmlns:diffgr=\"urn:d\"><NewDataSet>" + std::string(rows) +
         "</NewDataSet></diffgr:diffgram></DataSet></Root>";
}

// Texts and the rows they hold, as "[name=text ...]" per row. Every match at every level is
// walked, in document order; a row hands over every child as it comes, repeated names twice and
// other nodes by their node names. A text that holds no data set gives no rows and no error.
TEST(ReadDataSetRows, RowsInDocumentOrder) {
  const std::pair<std::string, std::string> cases[] = {
      {test::unwrappedReply(test::dataSetText(
           {{{"OrderID", "4711"}, {"Freight", "12.5"}}, {{"OrderID", "A&B <x>"}, {"NoRate", ""}}})),
       "[OrderID=4711 Freight=12.5][OrderID=A&B <x> NoRate=]"},
      {"<Root><DataSet><diffgr:diffgram><NewDataSet><Table><A>1</A></Table><Other><Table><A>x</A>"
       "</Table></Other><Table><A>2</A></Table></NewDataSet><NewDataSet><Table><A>3</A></Table>"
       "</NewDataSet></diffgr:diffgram><diffgr:diffgram><NewDataSet><Table><A>4</A></Table>"
       "</NewDataSet></diffgr:diffgram></DataSet><DataSet><diffgr:diffgram><NewDataSet><Table>"
       "<A>5</A></Table></NewDataSet></diffgr:diffgram></DataSet></Root>",
       "[A=1][A=2][A=3][A=4][A=5]"},
      {wrapped("<Table/><Table><A>1</A><A>2</A></Table>"), "[][A=1 A=2]"},
      {wrapped("<Table>loose<A>1</A><!--c--><B><i>x</i>y</B></Table>"),
       "[#text=loose A=1 #comment=c B=xy]"},
      {"", ""},
      {"   ", ""},
      {wrapped("<Table><A>1</Table>"), ""},
      {wrapped("<Table><A>1</A></Table>") + wrapped("<Table/>"), ""},
      {test::soapFaultReply("Server was unable to process request."), ""},
      {"<Root><Table><A>1</A></Table></Root>", ""},
      {"<Root><DataSet><NewDataSet><Table><A>1</A></Table></NewDataSet></DataSet></Root>", ""},
      {"<Root><DataSet><diffgram><NewDataSet><Table><A>1</A></Table></NewDataSet></diffgram>"
       "</DataSet></Root>",
       ""},
      {"<root><DataSet><diffgr:diffgram><NewDataSet><Table><A>1</A></Table></NewDataSet>"
       "</diffgr:diffgram></DataSet></root>",
       ""},
      {test::transportResult("IsPOFound", test::dataSetText({{{"A", "1"}}})), ""},
      {test::dataSetText({}), ""}};
  for (const auto& [text, expected] : cases) EXPECT_EQ(rowsOf(text), expected) << text;
}

TEST(ReadDataSetRows, DeepNestingInsideAndOutsideTheRowsIsHarmless) {
  constexpr int kDepth = 100'000;
  const std::string deep =
      tarvine::test::repeated("<d>", kDepth) + "x" + tarvine::test::repeated("</d>", kDepth);
  const std::string text =
      wrapped("<Table><A>" + deep + "</A></Table><Skipped>" + deep + "</Skipped>");
  EXPECT_EQ(rowsOf(text), "[A=x]");
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
