#!/usr/bin/python3
"""A plain Python client opening a load, for the side-by-side benchmark (BM_PythonClient).

Reads a request file: the service URL, then one "SOAPAction<TAB>envelope" line per query (the
envelope with its line breaks written as \\n). Sends each query with urllib, parses the reply
with lxml, parses the data set its result element carries and reads every row (each "Table"
element) into a dictionary of column texts, as a client that opens the load needs. Prints the
seconds the queries took, after the interpreter and lxml have started, and the rows read.
The system's interpreter: python3-lxml is installed for it.
"""
import sys
import time
import urllib.request

from lxml import etree

# A large load's reply carries its data set as one text of more than lxml's usual 10 MB limit.
PARSER = etree.XMLParser(huge_tree=True)


def query(url, action, envelope):
    request = urllib.request.Request(url, data=envelope.encode("utf-8"), headers={
        "Content-Type": "text/xml; charset=utf-8", "SOAPAction": action})
    with urllib.request.urlopen(request) as reply:
        document = etree.fromstring(reply.read(), PARSER)
    result = next(e for e in document.iter() if isinstance(e.tag, str) and e.tag.endswith("Result"))
    if not result.text or not result.text.lstrip().startswith("<"):
        return []
    data_set = etree.fromstring(result.text.encode("utf-8"), PARSER)
    return [{column.tag: column.text for column in row} for row in data_set.iter("Table")]


def main():
    with open(sys.argv[1], encoding="utf-8") as requests:
        url = requests.readline().rstrip("\n")
        queries = [line.rstrip("\n").split("\t", 1) for line in requests if line.strip()]
    start = time.perf_counter()
    rows = [query(url, action, envelope.replace("\\n", "\n")) for action, envelope in queries]
    seconds = time.perf_counter() - start
    print(f"{seconds:.6f} {sum(len(r) for r in rows)}")


if __name__ == "__main__":
    main()
