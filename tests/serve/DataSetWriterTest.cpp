#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "DataSetWriter.h"
#include "SoapReply.h"

namespace tarvine::serve {
namespace {

// The result text as the client sees it after the reply's own escaping is undone once.
std::string unescapedOnce(const std::string& resultText) {
  pugi::xml_document holder;
  const std::string wrapped = "<r>" + resultText + "</r>";
  EXPECT_TRUE(holder.load_string(wrapped.c_str()));
  return holder.child("r").text().get();
}

TEST(DataSetWriter, WritesTheDiffgramPathWithNumberedRows) {
  DataSetWriter writer;
  writer.beginRow();
  writer.column("CenterID", "12");
  writer.endRow();
  writer.beginRow();
  writer.column("CenterID", "15");
  writer.endRow();
  EXPECT_EQ(unescapedOnce(writer.finish()),
            "<Root><DataSet><diffgr:diffgram xmlns:msdata=\"urn:schemas-microsoft-com:xml-msdata\" "
            "xmlns:diffgr=\"urn:schemas-microsoft-com:xml-diffgram-v1\"><NewDataSet>"
            "<Table diffgr:id=\"Table1\" msdata:rowOrder=\"0\"><CenterID>12</CenterID></Table>"
            "<Table diffgr:id=\"Table2\" msdata:rowOrder=\"1\"><CenterID>15</CenterID></Table>"
            "</NewDataSet></diffgr:diffgram></DataSet></Root>");
}

TEST(DataSetWriter, EscapesValuesTwiceAndMarkupOnce) {
  DataSetWriter writer;
  writer.beginRow();
  writer.column("CenterName", "A&B <North>");
  writer.endRow();
  const std::string text = writer.finish();
  EXPECT_NE(text.find("&lt;CenterName&gt;A&amp;amp;B &amp;lt;North&amp;gt;&lt;/CenterName&gt;"),
            std::string::npos);
  EXPECT_EQ(text.find('<'), std::string::npos);
  pugi::xml_document dataSet;
  ASSERT_TRUE(dataSet.load_string(unescapedOnce(text).c_str()));
  EXPECT_STREQ(dataSet
                   .first_element_by_path("Root/DataSet/diffgr:diffgram/NewDataSet/Table/"
                                          "CenterName")
                   .text()
                   .get(),
               "A&B <North>");
}

TEST(DataSetWriter, DropsCharactersXmlCannotCarry) {
  DataSetWriter writer;
  writer.beginRow();
  writer.column("Comment", std::string("a\x01"
                                       "b\tc",
                                       5));
  writer.endRow();
  EXPECT_NE(writer.finish().find("&gt;ab\tc&lt;"), std::string::npos);
}

TEST(DataSetWriter, WritesRowsWithoutColumnsAndEmptySetsAsEmptyElements) {
  DataSetWriter emptyRow;
  emptyRow.beginRow();
  emptyRow.endRow();
  EXPECT_NE(unescapedOnce(emptyRow.finish())
                .find("<NewDataSet><Table diffgr:id=\"Table1\" "
                      "msdata:rowOrder=\"0\" /></NewDataSet>"),
            std::string::npos);
  DataSetWriter noRows;
  EXPECT_NE(unescapedOnce(noRows.finish()).find("><NewDataSet /></diffgr:diffgram>"),
            std::string::npos);
}

TEST(SoapReply, FaultEscapesItsMessage) {
  EXPECT_EQ(faultReply(FaultCode::Server, "a < b & c"),
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
            "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body><soap:Fault>"
            "<faultcode>soap:Server</faultcode><faultstring>a &lt; b &amp; c</faultstring>"
            "<detail /></soap:Fault></soap:Body></soap:Envelope>");
}

}  // namespace
}  // namespace tarvine::serve
