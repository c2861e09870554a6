// The shared library through its C interface only, as a host in another language uses it.

#include <gtest/gtest.h>
#include <tarvine/tarvine_order_pick.h>
#include <nlohmann/json.hpp>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "DemoRouteService.h"
#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"

namespace {

using nlohmann::json;
namespace test = tarvine::test;

tarvine_variant text(const char* value) {
  return {TARVINE_VT_TEXT, 0, 0.0, value};
}
tarvine_variant integer(int32_t value) {
  return {TARVINE_VT_I4, value, 0.0, nullptr};
}

// Takes a text the library returned and frees it.
std::string take(char* text) {
  std::string copy = text ? text : "(null)";
  tarvine_free_string(text);
  return copy;
}

class CApiTest : public ::testing::Test {
 protected:
  test::TemporaryFolder folder;
  test::ScopedEnvironment registry{"TARVINE_REGISTRY", (folder.path() / "registry.json").string()};
  test::ScopedEnvironment eventLog{"TARVINE_EVENT_LOG", (folder.path() / "events.log").string()};
  tarvine_control* control = nullptr;

  void SetUp() override { ASSERT_EQ(tarvine_create(&control), TARVINE_S_OK); }
  void TearDown() override { EXPECT_EQ(tarvine_destroy(control), TARVINE_S_OK); }

  json state() { return json::parse(take(tarvine_state_json(control))); }
  // Opens load 5001 of the demo service as person 7 of type 2.
  void openDemoLoad(const test::DemoRouteService& service) {
    const std::string open =
        "server " + service.server() + "\nfacility DEMO\nperson 7 2\nload 5001";
    ASSERT_EQ(tarvine_run_script(control, open.c_str(), nullptr, nullptr), 0);
  }
};

TEST_F(CApiTest, ClassFactoryAndUnloading) {
  EXPECT_EQ(DllCanUnloadNow(), TARVINE_S_FALSE);  // the fixture's control
  tarvine_class_factory* factory = nullptr;
  EXPECT_EQ(DllGetClassObject("{00000000-0000-0000-0000-000000000000}", &factory),
            TARVINE_CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(factory, nullptr);
  EXPECT_NE(std::string(tarvine_last_error()).find("00000000"), std::string::npos);
  EXPECT_EQ(DllGetClassObject(nullptr, &factory), TARVINE_E_POINTER);
  ASSERT_EQ(DllGetClassObject("ea12b6fe-8fb7-4a59-9821-c8431ab93931", &factory), TARVINE_S_OK);
  tarvine_control* second = nullptr;
  ASSERT_EQ(tarvine_factory_create_instance(factory, &second), TARVINE_S_OK);
  EXPECT_EQ(tarvine_factory_lock_server(factory, 1), TARVINE_S_OK);
  tarvine_factory_release(factory);
  EXPECT_EQ(tarvine_destroy(control), TARVINE_S_OK);
  control = nullptr;
  EXPECT_EQ(tarvine_destroy(second), TARVINE_S_OK);
  EXPECT_EQ(DllCanUnloadNow(), TARVINE_S_FALSE);  // the server lock
  ASSERT_EQ(DllGetClassObject(TARVINE_CLASS_ID, &factory), TARVINE_S_OK);
  EXPECT_EQ(tarvine_factory_lock_server(factory, 0), TARVINE_S_OK);
  EXPECT_EQ(tarvine_factory_lock_server(factory, 0), TARVINE_E_UNEXPECTED);
  EXPECT_EQ(DllCanUnloadNow(), TARVINE_S_FALSE);  // the class object
  tarvine_factory_release(factory);
  EXPECT_EQ(DllCanUnloadNow(), TARVINE_S_OK);
  EXPECT_EQ(tarvine_factory_create_instance(nullptr, &second), TARVINE_E_POINTER);
  EXPECT_EQ(tarvine_create(nullptr), TARVINE_E_POINTER);
}

TEST_F(CApiTest, RegisterAndUnregisterThroughTheEntryPoints) {
  const auto file = folder.path() / "registry.json";
  ASSERT_EQ(DllRegisterServer(), TARVINE_S_OK) << tarvine_last_error();
  const std::string library =
      json::parse(test::readText(file))["classes"][TARVINE_CLASS_ID]["library"];
  EXPECT_TRUE(library.starts_with("/") &&
              library.find("libtarvine_order_pick.so") != std::string::npos);
  EXPECT_EQ(DllUnregisterServer(), TARVINE_S_OK);
  test::writeText(file, "garbage");
  EXPECT_EQ(DllRegisterServer(), TARVINE_SELFREG_E_CLASS);
  EXPECT_NE(std::string(tarvine_last_error()).find("registry.json"), std::string::npos);
}

TEST_F(CApiTest, CallsByNameAndIdWithCoercedArguments) {
  int32_t id = 0;
  EXPECT_EQ(tarvine_get_dispid("setfacilityid", &id), TARVINE_S_OK);
  EXPECT_EQ(id, TARVINE_DISPID_SET_FACILITY_ID);
  EXPECT_EQ(tarvine_get_dispid("Nope", &id), TARVINE_DISP_E_UNKNOWNNAME);
  tarvine_variant args[] = {{TARVINE_VT_R8, 0, 1e20, nullptr}};
  tarvine_variant result{};
  tarvine_error error{};
  EXPECT_EQ(tarvine_invoke(control, id, args, 1, &result, &error), TARVINE_S_OK);
  EXPECT_EQ(result.type, TARVINE_VT_EMPTY);

  // Nothing listens there: the call runs, shows its error report and says so.
  tarvine_variant soap[] = {text("http://127.0.0.1:1/x"),
                            text("h"),
                            text("a"),
                            text("<a/>"),
                            {TARVINE_VT_MISSING, 0, 0.0, nullptr}};
  EXPECT_EQ(tarvine_invoke(control, TARVINE_DISPID_RETURN_WEBSERVICE_XML, soap, 5, &result, &error),
            TARVINE_S_ERRORS_REPORTED);
  EXPECT_EQ(error.code, TARVINE_S_ERRORS_REPORTED);
  EXPECT_STREQ(error.source, "libcurl");
  int32_t reports = 0;
  tarvine_error first{};
  EXPECT_EQ(tarvine_error_reports(control, &reports, &first), TARVINE_S_OK);
  EXPECT_EQ(reports, 1);
  EXPECT_TRUE(std::string(first.description).starts_with("Couldn't connect to server"));
  EXPECT_STREQ(result.text, "");
  tarvine_variant_clear(&result);
  EXPECT_EQ(result.type, TARVINE_VT_EMPTY);
  EXPECT_EQ(result.text, nullptr);
}

struct CBadCall {
  const char* label;
  const char* name;  // null: call by dispatch id
  int32_t dispid;
  std::vector<tarvine_variant> args;
  int32_t code;
  int32_t number;
  int32_t argIndex;
};

std::ostream& operator<<(std::ostream& out, const CBadCall& c) {
  return out << c.label;
}

class CApiBadCallTest : public CApiTest, public ::testing::WithParamInterface<CBadCall> {};

TEST_P(CApiBadCallTest, GivesAClearErrorRecord) {
  const CBadCall& c = GetParam();
  tarvine_variant result{TARVINE_VT_I4, 5, 0.0, nullptr};
  tarvine_error error{};
  const auto* args = c.args.empty() ? nullptr : c.args.data();
  const auto count = static_cast<int32_t>(c.args.size());
  const int32_t code = c.name
                           ? tarvine_invoke_by_name(control, c.name, args, count, &result, &error)
                           : tarvine_invoke(control, c.dispid, args, count, &result, &error);
  EXPECT_EQ(code, c.code);
  EXPECT_EQ(error.code, c.code);
  EXPECT_EQ(error.number, c.number);
  EXPECT_EQ(error.arg_index, c.argIndex);
  EXPECT_GT(std::strlen(error.description), 0u);
  EXPECT_EQ(result.type, TARVINE_VT_EMPTY);
}

CBadCall byName(const char* label, const char* name, std::vector<tarvine_variant> args,
                int32_t code, int32_t argIndex = -1, int32_t number = 0) {
  return {label, name, 0, std::move(args), code, number, argIndex};
}
CBadCall byId(const char* label, int32_t id, std::vector<tarvine_variant> args, int32_t code,
              int32_t argIndex = -1) {
  return {label, nullptr, id, std::move(args), code, 0, argIndex};
}
const tarvine_variant kMissing{TARVINE_VT_MISSING, 0, 0.0, nullptr};

INSTANTIATE_TEST_SUITE_P(
    Calls, CApiBadCallTest,
    ::testing::Values(byName("unknown name", "Frobnicate", {}, TARVINE_DISP_E_UNKNOWNNAME),
                      byId("unknown id", 42, {}, TARVINE_DISP_E_MEMBERNOTFOUND),
                      byId("dispatch id zero", 0, {}, TARVINE_DISP_E_MEMBERNOTFOUND),
                      byName("too many", "RefreshData", {integer(1)}, TARVINE_DISP_E_BADPARAMCOUNT),
                      byName("too few", "PutServerName", {}, TARVINE_DISP_E_BADPARAMCOUNT),
                      byName("soap with six", "ReturnWebserviceXML",
                             {text("t"), text("t"), text("t"), text("t"), integer(1), integer(1)},
                             TARVINE_DISP_E_BADPARAMCOUNT),
                      byId("word for a number", TARVINE_DISPID_PUT_TARVINE_ID, {text("x")},
                           TARVINE_DISP_E_TYPEMISMATCH, 0),
                      byName("flag as a word", "ReturnWebserviceXML",
                             {text("t"), text("t"), text("t"), text("t"), text("maybe")},
                             TARVINE_DISP_E_TYPEMISMATCH, 4),
                      byId("too big", TARVINE_DISPID_PUT_TARVINE_ID, {text("1e10")},
                           TARVINE_DISP_E_OVERFLOW, 0),
                      byName("unknown type code", "SetFacilityID", {{99, 0, 0.0, nullptr}},
                             TARVINE_DISP_E_BADVARTYPE, 0),
                      byName("I2 out of range", "SetFacilityID",
                             {{TARVINE_VT_I2, 40000, 0.0, nullptr}}, TARVINE_DISP_E_BADVARTYPE, 0),
                      byName("required missing", "SetPersonInformation", {text("1"), kMissing},
                             TARVINE_DISP_E_PARAMNOTOPTIONAL, 1),
                      byName("first missing", "SetPersonInformation", {kMissing, text("1")},
                             TARVINE_DISP_E_PARAMNOTOPTIONAL, 0),
                      byName("method raises", "SetPersonInformation", {text("1"), text("abc")},
                             TARVINE_DISP_E_EXCEPTION, -1, 13)));

TEST_F(CApiTest, NullPointersAreRefused) {
  tarvine_error error{};
  EXPECT_EQ(tarvine_invoke(nullptr, TARVINE_DISPID_REFRESH_DATA, nullptr, 0, nullptr, &error),
            TARVINE_E_POINTER);
  EXPECT_EQ(error.code, TARVINE_E_POINTER);
  EXPECT_EQ(tarvine_invoke(control, TARVINE_DISPID_PUT_SERVER_NAME, nullptr, 1, nullptr, nullptr),
            TARVINE_E_POINTER);
  EXPECT_EQ(tarvine_invoke_by_name(control, nullptr, nullptr, 0, nullptr, &error),
            TARVINE_E_POINTER);
  EXPECT_EQ(tarvine_run_script(control, nullptr, nullptr, nullptr), TARVINE_E_POINTER);
  EXPECT_EQ(tarvine_state_json(nullptr), nullptr);
  EXPECT_EQ(tarvine_set_callbacks(nullptr, nullptr), TARVINE_E_POINTER);
  EXPECT_EQ(tarvine_destroy(nullptr), TARVINE_S_OK);
}

TEST_F(CApiTest, ErrorDescriptionsAreCutToFitAsUtf8) {
  std::string name(600, 'x');
  // "é" across the cut: the description is "Unknown name: " and the name, cut to 511 bytes.
  name[496] = '\xC3';
  name[497] = '\xA9';
  tarvine_error error{};
  EXPECT_EQ(tarvine_invoke_by_name(control, name.c_str(), nullptr, 0, nullptr, &error),
            TARVINE_DISP_E_UNKNOWNNAME);
  const std::string description = error.description;
  EXPECT_LE(description.size(), 511u);
  EXPECT_EQ(description.find('\xC3'), std::string::npos);
}

struct Host {
  std::vector<std::string> lines;
  std::vector<std::string> messages;
  std::vector<std::string> entries;
  std::vector<std::string> formLines{"type txtPO1 27", "type txtPO2 70460", "type txtCartons 6",
                                     "add", "close"};
  std::size_t nextFormLine = 0;
  int inputs = 0;
  int32_t answer = 1;  // the message box's: OK
};

extern "C" void onLine(void* user, const char* line) {
  static_cast<Host*>(user)->lines.emplace_back(line);
}
extern "C" int32_t onMessage(void* user, const char* prompt, int32_t, const char*) {
  static_cast<Host*>(user)->messages.emplace_back(prompt);
  return static_cast<Host*>(user)->answer;
}
extern "C" int32_t onInput(void* user, const char*, const char*, const char*,
                           tarvine_text_out* answer) {
  ++static_cast<Host*>(user)->inputs;
  tarvine_text_out_set(answer, "250");
  return 1;
}
extern "C" int32_t onForm(void* user, const char*, tarvine_text_out* line) {
  Host& host = *static_cast<Host*>(user);
  if (host.nextFormLine >= host.formLines.size()) return 0;
  tarvine_text_out_set(line, host.formLines[host.nextFormLine++].c_str());
  return 1;
}
extern "C" void onLog(void* user, const char* entry) {
  static_cast<Host*>(user)->entries.emplace_back(entry);
}

TEST_F(CApiTest, AHostDrivesTheDemoLoadWithCallbacksAndScriptLines) {
  tarvine::test::DemoRouteService service;
  Host host;
  const tarvine_callbacks callbacks{&host, onMessage, onInput, onForm, onLog};
  ASSERT_EQ(tarvine_set_callbacks(control, &callbacks), TARVINE_S_OK);
  openDemoLoad(service);
  EXPECT_EQ(state()["manifest"], "5001");

  EXPECT_EQ(
      tarvine_run_script(control, "astray\ntoggle 1\ndblclick 1\nsave\nstate\n", onLine, &host), 0);
  EXPECT_EQ(host.nextFormLine, host.formLines.size());
  EXPECT_EQ(host.inputs, 1);
  ASSERT_FALSE(host.lines.empty());
  const json last = json::parse(host.lines.back());
  EXPECT_EQ(last["type"], "state");
  EXPECT_EQ(last["rows"][0]["sub"][5], "250.00");
  EXPECT_NE(std::find(host.messages.begin(), host.messages.end(),
                      "Outgoing load information has been updated successfully!!!"),
            host.messages.end());
  EXPECT_EQ(service.queryText("SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OrderID = '27-70460'"
                              " AND OutgoingLoad = 5001"),
            "1");
  EXPECT_TRUE(host.entries.empty());

  // Back to the defaults: the script's queued answer feeds the input box and is reported.
  ASSERT_EQ(tarvine_set_callbacks(control, nullptr), TARVINE_S_OK);
  host.lines.clear();
  EXPECT_EQ(tarvine_run_script(control, "answer 300\ndblclick 1\nbogus\nstate", onLine, &host), 2);
  ASSERT_GE(host.lines.size(), 2u);
  EXPECT_EQ(json::parse(host.lines.front())["type"], "input");
  EXPECT_EQ(json::parse(host.lines.back())["type"], "error");
  EXPECT_EQ(state()["rows"][0]["sub"][5], "300.00");
  int32_t rows = 0;
  char* orders = nullptr;
  EXPECT_EQ(tarvine_unsaved_changes(control, &rows, &orders), TARVINE_S_OK);
  EXPECT_EQ(rows, state()["unsaved"]);
  EXPECT_EQ(json::parse(take(orders)), json::array({state()["rows"][0]["text"]}));
}

// The dispatcher's tools through the C interface: find, scan, limits with the Save question
// answered No by the host's message box, and the load sheet.
TEST_F(CApiTest, ToolsFindScanLimitAndWriteTheSheet) {
  tarvine::test::DemoRouteService service;
  openDemoLoad(service);
  int32_t row = -1, outcome = -1;
  EXPECT_EQ(tarvine_find_order(control, " 12-34602 ", &row), TARVINE_S_OK);
  EXPECT_GT(row, 1);
  EXPECT_EQ(tarvine_scan_order(control, "12-99999", &row, &outcome), TARVINE_S_FALSE);
  EXPECT_EQ(row, 0);
  EXPECT_EQ(outcome, TARVINE_SCAN_NOT_FOUND);
  EXPECT_EQ(tarvine_scan_order(control, "12-34567", &row, &outcome), TARVINE_S_OK);
  EXPECT_EQ(row, 1);
  EXPECT_EQ(outcome, TARVINE_SCAN_PICKED);
  EXPECT_EQ(tarvine_set_trailer_limits(control, 0, 100, 0), TARVINE_E_INVALIDARG);
  ASSERT_EQ(tarvine_set_trailer_limits(control, 1, 1, 0), TARVINE_S_OK);

  Host asked;
  asked.answer = 7;  // No
  const tarvine_callbacks callbacks{&asked, onMessage, nullptr, nullptr, nullptr};
  ASSERT_EQ(tarvine_set_callbacks(control, &callbacks), TARVINE_S_OK);
  ASSERT_EQ(tarvine_run_script(control, "save", nullptr, nullptr), 0);
  ASSERT_EQ(asked.messages.size(), 1u);
  EXPECT_TRUE(asked.messages[0].starts_with("The load is ")) << asked.messages[0];
  EXPECT_EQ(service.queryText("SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OrderID = '12-34567'"
                              " AND OutgoingLoad = 5001"),
            "0");

  const std::string csv = (folder.path() / "sheet.csv").string();
  ASSERT_EQ(tarvine_write_load_sheet_csv(control, csv.c_str()), TARVINE_S_OK);
  EXPECT_GT(std::filesystem::file_size(csv), 0u);
  EXPECT_EQ(tarvine_write_load_sheet_csv(control, (folder.path() / "no" / "x.csv").c_str()),
            TARVINE_E_UNEXPECTED);
}

}  // namespace
