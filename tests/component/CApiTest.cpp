// The shared library through its C interface only, as a host in another language uses it. Each
// test writes every call with its result code, what it gave back, the error record, the host's
// callbacks and the script's lines, and compares the whole with tests/golden/component/.

#include <gtest/gtest.h>
#include <tarvine/tarvine_order_pick.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "DemoRouteService.h"
#include "Golden.h"
#include "ScopedEnvironment.h"
#include "TemporaryFolder.h"
#include "TestText.h"
#include "platform/Text.h"

namespace {

namespace test = tarvine::test;

tarvine_variant text(const char* value) {
  return {TARVINE_VT_TEXT, 0, 0.0, value};
}
tarvine_variant integer(int32_t value) {
  return {TARVINE_VT_I4, value, 0.0, nullptr};
}
const tarvine_variant kMissing{TARVINE_VT_MISSING, 0, 0.0, nullptr};

// Takes a text the library returned and frees it.
std::string take(char* text) {
  std::string copy = text ? text : "(null)";
  tarvine_free_string(text);
  return copy;
}

#define TARVINE_CODE(name) \
  { TARVINE_##name, #name }
std::string codeName(int32_t code) {
  static const std::map<int32_t, std::string> names = {TARVINE_CODE(S_OK),
                                                       TARVINE_CODE(S_FALSE),
                                                       TARVINE_CODE(S_ERRORS_REPORTED),
                                                       TARVINE_CODE(DISP_E_UNKNOWNNAME),
                                                       TARVINE_CODE(DISP_E_MEMBERNOTFOUND),
                                                       TARVINE_CODE(DISP_E_TYPEMISMATCH),
                                                       TARVINE_CODE(DISP_E_OVERFLOW),
                                                       TARVINE_CODE(DISP_E_BADPARAMCOUNT),
                                                       TARVINE_CODE(DISP_E_PARAMNOTOPTIONAL),
                                                       TARVINE_CODE(DISP_E_BADVARTYPE),
                                                       TARVINE_CODE(DISP_E_EXCEPTION),
                                                       TARVINE_CODE(SELFREG_E_CLASS),
                                                       TARVINE_CODE(E_POINTER),
                                                       TARVINE_CODE(E_UNEXPECTED),
                                                       TARVINE_CODE(E_HANDLE),
                                                       TARVINE_CODE(E_INVALIDARG),
                                                       TARVINE_CODE(CLASS_E_CLASSNOTAVAILABLE)};
  const auto found = names.find(code);
  return found == names.end() ? std::to_string(code) : found->second;
}
#undef TARVINE_CODE

class CApiTest : public ::testing::Test {
 protected:
  test::TemporaryFolder folder;
  test::ScopedEnvironment registry{"TARVINE_REGISTRY", (folder.path() / "registry.json").string()};
  test::ScopedEnvironment eventLog{"TARVINE_EVENT_LOG", (folder.path() / "events.log").string()};
  tarvine_control* control = nullptr;
  std::ostringstream out;

  void SetUp() override { ASSERT_EQ(tarvine_create(&control), TARVINE_S_OK); }
  void TearDown() override { EXPECT_EQ(tarvine_destroy(control), TARVINE_S_OK); }

  // Writes a call and its result code; gives the code back.
  int32_t note(const std::string& call, int32_t code) {
    out << call << " -> " << codeName(code) << '\n';
    return code;
  }
  void noteError(const tarvine_error& error) {
    out << "  error " << codeName(error.code) << ", number " << error.number << ", argument "
        << error.arg_index << ", source '" << error.source << "': " << error.description << '\n';
  }
  void noteLastError() { out << "  last error: " << tarvine_last_error() << '\n'; }
  // Compares the transcript, with the temporary folder and the server's port made stable.
  void expectTranscript(const std::string& name, const std::string& server = "") {
    std::string text = out.str();
    tarvine::text::replaceAllInPlace(text, folder.path().string(), "FOLDER");
    tarvine::text::replaceAllInPlace(text, server, "SERVER");
    test::expectGolden(test::withoutElapsedTime(text), "component/" + name + ".txt");
  }
};

TEST_F(CApiTest, EntryPoints) {
  note("DllCanUnloadNow with a control", DllCanUnloadNow());
  tarvine_class_factory* factory = nullptr;
  note("DllGetClassObject(zero class)",
       DllGetClassObject("{00000000-0000-0000-0000-000000000000}", &factory));
  out << "  factory " << (factory ? "set" : "null") << '\n';
  noteLastError();
  note("DllGetClassObject(null)", DllGetClassObject(nullptr, &factory));
  note("DllGetClassObject(one brace)",
       DllGetClassObject("EA12B6FE-8FB7-4A59-9821-C8431AB93931}", &factory));
  note("DllGetClassObject(lower case, no braces)",
       DllGetClassObject("ea12b6fe-8fb7-4a59-9821-c8431ab93931", &factory));
  tarvine_control* second = nullptr;
  note("tarvine_factory_create_instance", tarvine_factory_create_instance(factory, &second));
  note("tarvine_factory_lock_server(1)", tarvine_factory_lock_server(factory, 1));
  tarvine_factory_release(factory);
  tarvine_control* const first = control;
  note("tarvine_destroy(first)", tarvine_destroy(control));
  control = nullptr;
  // Handles destroyed or released already are refused, never used, while others live.
  EXPECT_EQ(note("tarvine_run_script(first)", tarvine_run_script(first, "", nullptr, nullptr)),
            TARVINE_E_HANDLE);
  char* none = nullptr;
  EXPECT_EQ(tarvine_suggest_fill(first, &none), TARVINE_E_HANDLE);
  EXPECT_EQ(tarvine_apply_fill(first, nullptr), TARVINE_E_HANDLE);
  note("tarvine_destroy(second)", tarvine_destroy(second));
  EXPECT_EQ(note("tarvine_destroy(second) again", tarvine_destroy(second)), TARVINE_E_HANDLE);
  noteLastError();
  tarvine_factory_release(factory);
  EXPECT_EQ(note("tarvine_factory_lock_server(released)", tarvine_factory_lock_server(factory, 1)),
            TARVINE_E_HANDLE);
  note("DllCanUnloadNow while locked", DllCanUnloadNow());
  note("DllGetClassObject(TARVINE_CLASS_ID)", DllGetClassObject(TARVINE_CLASS_ID, &factory));
  note("tarvine_factory_lock_server(0)", tarvine_factory_lock_server(factory, 0));
  note("tarvine_factory_lock_server(0) again", tarvine_factory_lock_server(factory, 0));
  note("DllCanUnloadNow with a class object", DllCanUnloadNow());
  tarvine_factory_release(factory);
  note("DllCanUnloadNow", DllCanUnloadNow());
  note("tarvine_factory_create_instance(null)", tarvine_factory_create_instance(nullptr, &second));
  note("tarvine_create(null)", tarvine_create(nullptr));
  ASSERT_EQ(tarvine_create(&control), TARVINE_S_OK);

  const auto file = folder.path() / "registry.json";
  note("DllRegisterServer", DllRegisterServer());
  const std::string library =
      nlohmann::json::parse(test::readText(file))["classes"][TARVINE_CLASS_ID]["library"];
  out << "  library " << (library.starts_with("/") ? "absolute" : "relative") << ", "
      << library.substr(library.rfind('/') + 1, 24) << '\n';
  note("DllUnregisterServer", DllUnregisterServer());
  test::writeText(file, "garbage");
  note("DllRegisterServer over garbage", DllRegisterServer());
  noteLastError();

  // Names match in any case but exactly; the record's name is not a member.
  for (const char* name :
       {"setfacilityid", "PUTTARVINEID", "Nope", "RefreshData ", "", "AllOrdersUDT"}) {
    int32_t id = 0;
    note(std::string("tarvine_get_dispid(") + name + ")", tarvine_get_dispid(name, &id));
    out << "  id " << std::hex << id << std::dec << '\n';
  }
  tarvine_error error{};
  note("tarvine_invoke(null control)",
       tarvine_invoke(nullptr, TARVINE_DISPID_REFRESH_DATA, nullptr, 0, nullptr, &error));
  noteError(error);
  note("tarvine_invoke(null arguments)",
       tarvine_invoke(control, TARVINE_DISPID_PUT_SERVER_NAME, nullptr, 1, nullptr, nullptr));
  note("tarvine_invoke_by_name(null name)",
       tarvine_invoke_by_name(control, nullptr, nullptr, 0, nullptr, &error));
  note("tarvine_run_script(null text)", tarvine_run_script(control, nullptr, nullptr, nullptr));
  out << "tarvine_state_json(null) -> " << (tarvine_state_json(nullptr) ? "text" : "null") << '\n';
  note("tarvine_set_callbacks(null)", tarvine_set_callbacks(nullptr, nullptr));
  note("tarvine_destroy(null)", tarvine_destroy(nullptr));

  // A name of 600 bytes with an "é" across the cut of the 512-byte description.
  std::string name(600, 'x');
  name[496] = '\xC3';
  name[497] = '\xA9';
  note("tarvine_invoke_by_name(600 bytes)",
       tarvine_invoke_by_name(control, name.c_str(), nullptr, 0, nullptr, &error));
  out << "  description of " << std::string(error.description).size() << " bytes\n";
  expectTranscript("capi-entry-points");
}

struct Call {
  const char* label;
  const char* name;  // null: call by dispatch id
  int32_t dispid;
  std::vector<tarvine_variant> args;
};

// Calls with bad arguments give a clear error record and leave the result empty; one the method
// runs reports what went wrong.
TEST_F(CApiTest, Calls) {
  const auto soap = [](tarvine_variant last, std::vector<tarvine_variant> more = {}) {
    std::vector<tarvine_variant> args{text("http://127.0.0.1:1/x"), text("h"), text("a"),
                                      text("<a/>"), last};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  const Call calls[] = {
      {"unknown name", "Frobnicate", 0, {}},
      {"unknown id", nullptr, 42, {}},
      {"dispatch id zero", nullptr, 0, {}},
      {"too many", "RefreshData", 0, {integer(1)}},
      {"too few", "PutServerName", 0, {}},
      {"soap with six", "ReturnWebserviceXML", 0, soap(integer(1), {integer(1)})},
      {"word for a number", nullptr, TARVINE_DISPID_PUT_TARVINE_ID, {text("x")}},
      {"flag as a word", "ReturnWebserviceXML", 0, soap(text("maybe"))},
      {"too big", nullptr, TARVINE_DISPID_PUT_TARVINE_ID, {text("1e10")}},
      {"unknown type code", "SetFacilityID", 0, {{99, 0, 0.0, nullptr}}},
      {"I2 out of range", "SetFacilityID", 0, {{TARVINE_VT_I2, 40000, 0.0, nullptr}}},
      {"required missing", "SetPersonInformation", 0, {text("1"), kMissing}},
      {"first missing", "SetPersonInformation", 0, {kMissing, text("1")}},
      {"method raises", "SetPersonInformation", 0, {text("1"), text("abc")}},
      {"person overflows",
       nullptr,
       TARVINE_DISPID_SET_PERSON_INFORMATION,
       {text("7"), text("70000")}},
      {"facility as a double",
       nullptr,
       TARVINE_DISPID_SET_FACILITY_ID,
       {{TARVINE_VT_R8, 0, 1e20, nullptr}}},
      {"nothing listens", nullptr, TARVINE_DISPID_RETURN_WEBSERVICE_XML, soap(kMissing)}};
  for (const Call& c : calls) {
    tarvine_variant result{TARVINE_VT_I4, 5, 0.0, nullptr};
    tarvine_error error{};
    const auto* args = c.args.empty() ? nullptr : c.args.data();
    const auto count = static_cast<int32_t>(c.args.size());
    note(c.label, c.name ? tarvine_invoke_by_name(control, c.name, args, count, &result, &error)
                         : tarvine_invoke(control, c.dispid, args, count, &result, &error));
    noteError(error);
    out << "  result type " << result.type;
    if (result.type == TARVINE_VT_TEXT) out << " '" << result.text << "'";
    out << '\n';
    tarvine_variant_clear(&result);
  }
  int32_t reports = 0;
  tarvine_error first{};
  note("tarvine_error_reports", tarvine_error_reports(control, &reports, &first));
  out << "  " << reports << " report(s)\n";
  noteError(first);
  out << "state " << take(tarvine_state_json(control)) << '\n';
  out << "event log file (the default):\n" << test::readText(folder.path() / "events.log");
  expectTranscript("capi-calls");
}

// The host's dialogs and log, each written into the transcript.
struct Host {
  std::ostringstream* out;
  std::vector<std::string> formLines{"type txtPO1 27", "type txtPO2 70460", "type txtCartons 6",
                                     "add", "close"};
  std::size_t nextFormLine = 0;
  int32_t answer = 1;  // the message box's: OK
  int32_t yesNo = 6;   // a Yes/No question's: Yes
};

extern "C" void onLine(void* user, const char* line) {
  *static_cast<Host*>(user)->out << "  line " << line << '\n';
}
extern "C" int32_t onMessage(void* user, const char* prompt, int32_t buttons, const char* title) {
  Host& host = *static_cast<Host*>(user);
  *host.out << "  message box " << buttons << " '" << (title ? title : "(null)") << "': " << prompt
            << " -> " << ((buttons & 15) == 4 ? host.yesNo : host.answer) << '\n';
  return (buttons & 15) == 4 ? host.yesNo : host.answer;
}
extern "C" int32_t onInput(void* user, const char* prompt, const char* title, const char* preset,
                           tarvine_text_out* answer) {
  *static_cast<Host*>(user)->out << "  input box '" << title << "': " << prompt << " [" << preset
                                 << "] -> 250\n";
  tarvine_text_out_set(answer, "250");
  return 1;
}
extern "C" int32_t onForm(void* user, const char* caption, tarvine_text_out* line) {
  Host& host = *static_cast<Host*>(user);
  if (host.nextFormLine >= host.formLines.size()) return 0;
  *host.out << "  form '" << caption << "' -> " << host.formLines[host.nextFormLine] << '\n';
  tarvine_text_out_set(line, host.formLines[host.nextFormLine++].c_str());
  return 1;
}
extern "C" void onLog(void* user, const char* entry) {
  *static_cast<Host*>(user)->out << "  log " << entry << '\n';
}

// A host drives the demo load: its callbacks answer the dialogs and the astray form, the
// defaults take the script's answers again, and the dispatcher's tools work on the same load.
TEST_F(CApiTest, AHostDrivesTheDemoLoad) {
  test::DemoRouteService service;
  Host host{&out};
  const tarvine_callbacks callbacks{&host, onMessage, onInput, onForm, onLog};
  note("tarvine_set_callbacks", tarvine_set_callbacks(control, &callbacks));
  const std::string open = "server " + service.server() + "\nfacility DEMO\nperson 7 2\nload 5001";
  note("tarvine_run_script(open the load)",
       tarvine_run_script(control, open.c_str(), nullptr, nullptr));
  const auto script = [&](const char* text) {
    note("tarvine_run_script(" + std::regex_replace(text, std::regex("\r?\n"), "; ") + ")",
         tarvine_run_script(control, text, onLine, &host));
  };
  script("astray\ntoggle 1\ndblclick 1\nsave");
  const auto onLoad = [&](const char* order) {
    out << "  " << order << " on load 5001: "
        << service.queryText(
               std::string("SELECT COUNT(*) FROM VOZA_OrderHeader WHERE OrderID = '") + order +
               "' AND OutgoingLoad = 5001")
        << '\n';
  };
  onLoad("27-70460");

  note("tarvine_set_callbacks(null)", tarvine_set_callbacks(control, nullptr));
  script("answer 300\r\ndblclick 1\r\nbogus\r\nstate");
  int32_t rows = 0;
  char* orders = nullptr;
  note("tarvine_unsaved_changes", tarvine_unsaved_changes(control, &rows, &orders));
  out << "  " << rows << " row(s) of " << take(orders) << "\nstate "
      << take(tarvine_state_json(control)) << '\n';

  int32_t row = -1, outcome = -1;
  for (const char* order : {" 12-34602 ", "12-99999", "15-20017"}) {
    note(std::string("tarvine_find_order(") + order + ")",
         tarvine_find_order(control, order, &row));
    out << "  row " << row << '\n';
    note(std::string("tarvine_scan_order(") + order + ")",
         tarvine_scan_order(control, order, &row, &outcome));
    out << "  row " << row << ", outcome " << outcome << '\n';
  }
  note("tarvine_set_trailer_limits(0, 100, 0)", tarvine_set_trailer_limits(control, 0, 100, 0));
  note("tarvine_set_trailer_limits(1, 1, 0)", tarvine_set_trailer_limits(control, 1, 1, 0));
  // A host that shows every box with OK only answers the trailer's question with OK: the save
  // is not sent, and the host hears why through the error status.
  Host asked{&out};
  asked.yesNo = 1;
  const tarvine_callbacks messagesOnly{&asked, onMessage, nullptr, nullptr, nullptr};
  note("tarvine_set_callbacks(message box only)", tarvine_set_callbacks(control, &messagesOnly));
  script("save");
  onLoad("15-20017");
  int32_t reports = 0;
  tarvine_error first{};
  EXPECT_EQ(tarvine_error_reports(control, &reports, &first), TARVINE_S_OK);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(first.number, 32755);  // the save was not confirmed

  // Fill trailer: nothing is proposed for a load over a limit; a proposal is applied once (which
  // P.O.s it checks: ScriptHostTest).
  char* proposal = nullptr;
  EXPECT_EQ(note("tarvine_suggest_fill(over the limits)", tarvine_suggest_fill(control, &proposal)),
            TARVINE_S_FALSE);
  out << "  " << take(proposal) << '\n';
  note("tarvine_set_trailer_limits(40000, 5000, 0)",
       tarvine_set_trailer_limits(control, 40000, 5000, 0));
  EXPECT_EQ(note("tarvine_suggest_fill", tarvine_suggest_fill(control, &proposal)), TARVINE_S_OK);
  const nlohmann::json proposed = nlohmann::json::parse(take(proposal))["orders"];
  out << "  " << proposed.dump() << '\n';
  int32_t added = 0;
  EXPECT_EQ(note("tarvine_apply_fill", tarvine_apply_fill(control, &added)), TARVINE_S_OK);
  EXPECT_EQ(added, static_cast<int32_t>(proposed.size()));
  EXPECT_EQ(note("tarvine_apply_fill(again)", tarvine_apply_fill(control, &added)),
            TARVINE_E_UNEXPECTED);
  noteLastError();

  const std::string csv = (folder.path() / "sheet.csv").string();
  note("tarvine_write_load_sheet_csv", tarvine_write_load_sheet_csv(control, csv.c_str()));
  out << "  " << (std::filesystem::file_size(csv) > 0 ? "written" : "empty") << '\n';
  note("tarvine_write_load_sheet_csv(no such folder)",
       tarvine_write_load_sheet_csv(control, (folder.path() / "no" / "x.csv").c_str()));
  // Log entries go to the host's log, and to a running script as lines.
  const tarvine_callbacks logOnly{&host, nullptr, nullptr, nullptr, onLog};
  note("tarvine_set_callbacks(log only)", tarvine_set_callbacks(control, &logOnly));
  script("server http://127.0.0.1:1\nload 7");
  expectTranscript("capi-demo-load", service.server());
}

}  // namespace
