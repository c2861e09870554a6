#!/usr/bin/env python3
"""Standard SOAP tooling against `tarvine serve`: zeep builds its client from the service's
WSDL, opens the demo load's orders and saves a pick with the statements the control sends;
the control (through `tarvine script`) then shows the pick.

usage: soap_tooling_test.py TARVINE_PROGRAM
"""
import json
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

import zeep

LOAD, FACILITY, PERSON, PERSON_TYPE = 5001, "DEMO", 7, 2
PATH = "/WebServices/VOZAWebservice/VOZAWebservice.asmx"


def save_statements(rows):
    """The control's statements for putting the segments on the load, and its closing blank."""
    statements = []
    for row in rows:
        statements.append(
            "Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = %d, Freight = %s  "
            "Where CenterID = %s and OrderID = '%s' and VOZA_OrderSegment = %s"
            % (LOAD, row["Freight"], row["CenterID"], row["OrderID"], row["VOZA_OrderSegment"]))
    for row in rows:
        statements.append("EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '%s',%s,%d,%d"
                          % (row["OrderID"], row["VOZA_OrderSegment"], PERSON, PERSON_TYPE))
    return statements + [""]


def control_rows(tarvine, server):
    script = "server %s\nfacility %s\nperson %d %d\nload %d\nstate\n" % (
        server, FACILITY, PERSON, PERSON_TYPE, LOAD)
    output = subprocess.run([tarvine, "script"], input=script, capture_output=True, text=True,
                            timeout=60, check=True).stdout
    states = [json.loads(line) for line in output.splitlines() if '"rows"' in line]
    return states[-1]["rows"]


def main(tarvine):
    with tempfile.TemporaryDirectory() as folder:
        service = subprocess.Popen(
            [tarvine, "serve", "--demo", "--db", os.path.join(folder, "demo.db")],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        try:
            server = service.stdout.readline().strip()
            client = zeep.Client(server + PATH + "?wsdl")
            result = client.service.GetOutgoingLoadAllOrders(OutgoingLoadID=LOAD,
                                                              FacilityID=FACILITY)
            rows = [{column.tag: column.text for column in table}
                    for table in ElementTree.fromstring(result.encode()).iter("Table")]
            free = [row for row in rows if row["OutgoingLoad"] == "0" and row["Freight"] != "NoRate"]
            assert free, "the demo load lists no segment off the load"
            order = free[0]["OrderID"]
            picked = [row for row in free if row["OrderID"] == order]
            assert not [r for r in control_rows(tarvine, server) if r["text"] == order and r["checked"]]

            client.service.UpdateOutgoingLoadOrder(
                OutgoingLoadOrderArray={"string": save_statements(picked)})

            shown = [row for row in control_rows(tarvine, server) if row["text"] == order]
            assert len(shown) == len(picked) and all(row["checked"] for row in shown), shown
            print("zeep saved %d segment(s) of %s; the control shows them on load %d"
                  % (len(picked), order, LOAD))
        finally:
            service.terminate()
            service.wait(timeout=30)


if __name__ == "__main__":
    main(sys.argv[1])
