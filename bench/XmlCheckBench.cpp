// What the XML rules cost against a conforming library doing their job: the two parses of an
// all-orders reply of 32,767 segments (the body, then the data set its result carries), each
// refused when XML does not allow it. Floor: the two parses by pugixml alone. BM_XmlRules: the
// document's parse, pugixml with the rules after it. BM_XmlLibxml2Check: libxml2 checking each
// text without building anything, then pugixml's parse, which is the least the rules could be
// replaced by. All timed in thread CPU time.

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <cstring>
#include <functional>
#include <pugixml.hpp>

#include "BenchLoads.h"
#include "PairedSamples.h"
#include "ReplyProcessing.h"
#include "platform/XmlDocument.h"
#include "service/RouteOperations.h"

namespace tarvine::bench {
namespace {

constexpr int kRows = 32767;

// True when libxml2 finds the text well-formed. No callbacks: nothing is built.
bool libxml2WellFormed(const std::string& text) {
  xmlParserCtxtPtr context = xmlCreateMemoryParserCtxt(text.data(), static_cast<int>(text.size()));
  if (!context) return false;
  std::memset(context->sax, 0, sizeof(xmlSAXHandler));
  context->sax->initialized = XML_SAX2_MAGIC;
  xmlCtxtUseOptions(context, XML_PARSE_HUGE | XML_PARSE_NONET);
  xmlParseDocument(context);
  const bool wellFormed = context->wellFormed != 0;
  if (context->myDoc) xmlFreeDoc(context->myDoc);
  xmlFreeParserCtxt(context);
  return wellFormed;
}

bool pugixmlParses(const std::string& text) {
  pugi::xml_document document;
  return static_cast<bool>(document.load_buffer(text.data(), text.size()));
}

void measure(benchmark::State& state, const std::function<bool(const std::string&)>& parse) {
  BenchLoads& loads = BenchLoads::instance();
  const std::string& body = loads.reply(service::kGetOutgoingLoadAllOrders.name, kRows);
  const std::string dataSet = dataSetTextOf(body, service::kGetOutgoingLoadAllOrders.name);
  PairedSamples samples;
  for (auto _ : state) {
    double start = threadCpuSeconds();
    const bool parsed = parse(body) && parse(dataSet);
    const double product = threadCpuSeconds() - start;
    start = threadCpuSeconds();
    const bool floorParsed = pugixmlParses(body) && pugixmlParses(dataSet);
    const double floor = threadCpuSeconds() - start;
    if (!parsed || !floorParsed) {
      state.SkipWithError("the reply did not parse");
      break;
    }
    state.SetIterationTime(product);
    samples.add(product, floor);
  }
  samples.report(state, kRows, 0, 0);
}

void BM_XmlRules(benchmark::State& state) {
  measure(state, [](const std::string& text) {
    XmlDocument document;
    return document.loadXml(text);
  });
}

void BM_XmlLibxml2Check(benchmark::State& state) {
  measure(state,
          [](const std::string& text) { return libxml2WellFormed(text) && pugixmlParses(text); });
}

BENCHMARK(BM_XmlRules)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_XmlLibxml2Check)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
}  // namespace tarvine::bench
