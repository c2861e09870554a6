#!/usr/bin/env python3
"""A host in Python for the TarvineOrderPick component.

Loads the component library with ctypes, registers it, finds the control class in the registry,
creates a control through the class factory, opens the demo load of the reference route
service, picks a P.O., saves and prints the load's totals. Then it destroys the control and
unregisters the library again.

    examples/python/order_pick_host.py [--library build/src/component/libtarvine_order_pick.so]
                                       [--tarvine build/apps/tarvine/tarvine | --server URL]

Without --server it starts `tarvine serve --demo` on a temporary database and stops it at the
end. The registry and the event log go to a temporary folder unless TARVINE_REGISTRY and
TARVINE_EVENT_LOG say otherwise.
"""

import argparse
import ctypes
import json
import os
import select
import subprocess
import sys
import tempfile
from ctypes import CFUNCTYPE, POINTER, Structure, byref, c_char, c_char_p, c_double, c_int32
from ctypes import c_void_p
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
CLASS_ID = "{EA12B6FE-8FB7-4A59-9821-C8431AB93931}"
VT_I4, VT_TEXT = 3, 8
# A call that ran but showed error reports (for instance, the route service cannot be reached).
ERRORS_REPORTED = 0x00040200
SAVED = "Outgoing load information has been updated successfully!!!"


class Variant(Structure):
    _fields_ = [("type", c_int32), ("integer", c_int32), ("number", c_double), ("text", c_char_p)]


class Error(Structure):
    _fields_ = [("code", c_int32), ("number", c_int32), ("arg_index", c_int32),
                ("source", c_char * 64), ("description", c_char * 512)]


MESSAGE_BOX = CFUNCTYPE(c_int32, c_void_p, c_char_p, c_int32, c_char_p)
INPUT_BOX = CFUNCTYPE(c_int32, c_void_p, c_char_p, c_char_p, c_char_p, c_void_p)
FORM = CFUNCTYPE(c_int32, c_void_p, c_char_p, c_void_p)
EVENT_LOG = CFUNCTYPE(None, c_void_p, c_char_p)
LINE = CFUNCTYPE(None, c_void_p, c_char_p)


class Callbacks(Structure):
    _fields_ = [("user", c_void_p), ("message_box", MESSAGE_BOX), ("input_box", INPUT_BOX),
                ("form", FORM), ("event_log", EVENT_LOG)]


class HostError(Exception):
    pass


def text_argument(value):
    return Variant(VT_TEXT, 0, 0.0, value.encode())


def integer_argument(value):
    return Variant(VT_I4, value, 0.0, None)


class Component:
    """The library's C interface, declared for ctypes."""

    def __init__(self, path):
        self.lib = ctypes.CDLL(str(path))
        lib = self.lib
        for name in ("DllRegisterServer", "DllUnregisterServer", "DllCanUnloadNow"):
            getattr(lib, name).restype = c_int32
            getattr(lib, name).argtypes = []
        lib.DllGetClassObject.argtypes = [c_char_p, POINTER(c_void_p)]
        lib.tarvine_factory_create_instance.argtypes = [c_void_p, POINTER(c_void_p)]
        lib.tarvine_factory_release.argtypes = [c_void_p]
        lib.tarvine_factory_release.restype = None
        lib.tarvine_last_error.restype = c_char_p
        lib.tarvine_destroy.argtypes = [c_void_p]
        lib.tarvine_set_callbacks.argtypes = [c_void_p, POINTER(Callbacks)]
        lib.tarvine_get_dispid.argtypes = [c_char_p, POINTER(c_int32)]
        lib.tarvine_invoke.argtypes = [c_void_p, c_int32, POINTER(Variant), c_int32,
                                       POINTER(Variant), POINTER(Error)]
        lib.tarvine_invoke_by_name.argtypes = [c_void_p, c_char_p, POINTER(Variant), c_int32,
                                               POINTER(Variant), POINTER(Error)]
        lib.tarvine_variant_clear.argtypes = [POINTER(Variant)]
        lib.tarvine_variant_clear.restype = None
        lib.tarvine_run_script.argtypes = [c_void_p, c_char_p, LINE, c_void_p]
        lib.tarvine_state_json.argtypes = [c_void_p]
        lib.tarvine_state_json.restype = c_void_p
        lib.tarvine_free_string.argtypes = [c_void_p]
        lib.tarvine_free_string.restype = None
        lib.tarvine_error_reports.argtypes = [c_void_p, POINTER(c_int32), POINTER(Error)]

    def check(self, code, what):
        if code != 0:
            detail = self.lib.tarvine_last_error().decode(errors="replace")
            raise HostError(f"{what} failed with 0x{code & 0xFFFFFFFF:08X}: {detail}")

    def create_through_class_factory(self, class_id):
        factory = c_void_p()
        self.check(self.lib.DllGetClassObject(class_id.encode(), byref(factory)),
                   "DllGetClassObject")
        try:
            control = c_void_p()
            self.check(self.lib.tarvine_factory_create_instance(factory, byref(control)),
                       "creating a control")
            return control
        finally:
            self.lib.tarvine_factory_release(factory)


class Control:
    """One control: late-bound calls, script lines and the state object."""

    def __init__(self, component, handle):
        self.component = component
        self.lib = component.lib
        self.handle = handle
        self.messages = []
        # ctypes callbacks must stay referenced as long as the control may call them.
        self._callbacks = Callbacks(None, MESSAGE_BOX(self._message_box), INPUT_BOX(),
                                    FORM(), EVENT_LOG(self._event_log))
        self.lib.tarvine_set_callbacks(handle, byref(self._callbacks))

    def _message_box(self, _user, prompt, _buttons, title):
        text = prompt.decode(errors="replace")
        self.messages.append(text)
        heading = title.decode(errors="replace") if title else "TarvineOrderPick"
        print(f"[{heading}] {text}")
        return 1  # OK

    @staticmethod
    def _event_log(_user, entry):
        print("event log:", entry.decode(errors="replace").strip(), file=sys.stderr)

    def call(self, name, *args):
        """Calls a method by name; returns its text result or None."""
        array = (Variant * len(args))(*args)
        result, error = Variant(), Error()
        code = self.lib.tarvine_invoke_by_name(self.handle, name.encode(), array, len(args),
                                               byref(result), byref(error))
        value = result.text.decode(errors="replace") if result.type == VT_TEXT else None
        self.lib.tarvine_variant_clear(byref(result))
        self.check_outcome(name, code, error)
        return value

    def call_by_id(self, dispid, *args, name=None):
        array = (Variant * len(args))(*args)
        error = Error()
        code = self.lib.tarvine_invoke(self.handle, dispid, array, len(args), None, byref(error))
        self.check_outcome(name or f"dispatch id 0x{dispid:08X}", code, error)

    def check_outcome(self, what, code, error):
        """Raises for a failed call, and for one that showed error reports."""
        description = error.description.decode(errors="replace")
        if code == ERRORS_REPORTED:
            count = c_int32()
            self.lib.tarvine_error_reports(self.handle, byref(count), None)
            raise HostError(f"{what} showed {count.value} error report(s); the first: "
                            f"{description} (error {error.number})")
        if code != 0:
            raise HostError(f"{what}: {description} (0x{code & 0xFFFFFFFF:08X}, "
                            f"error {error.number})")

    def dispid(self, name):
        found = c_int32()
        self.component.check(self.lib.tarvine_get_dispid(name.encode(), byref(found)), name)
        return found.value

    def run_script(self, text):
        """Runs script lines; returns the JSON lines the script host reported."""
        lines = []
        on_line = LINE(lambda _user, line: lines.append(json.loads(line)))
        status = self.lib.tarvine_run_script(self.handle, text.encode(), on_line, None)
        if status != 0:
            raise HostError(f"the script stopped with status {status}: {lines[-1:]}")
        return lines

    def state(self):
        pointer = self.lib.tarvine_state_json(self.handle)
        if not pointer:
            raise HostError("no state")
        try:
            return json.loads(ctypes.string_at(pointer).decode())
        finally:
            self.lib.tarvine_free_string(pointer)

    def destroy(self):
        self.component.check(self.lib.tarvine_destroy(self.handle), "tarvine_destroy")


def start_route_service(tarvine, folder):
    """Starts `tarvine serve --demo`; returns the process and the URL it prints first."""
    log = open(folder / "serve.log", "wb")
    process = subprocess.Popen([str(tarvine), "serve", "--demo", "--db", str(folder / "demo.db")],
                               stdout=subprocess.PIPE, stderr=log)
    log.close()
    ready, _, _ = select.select([process.stdout], [], [], 30)
    url = process.stdout.readline().decode().strip() if ready else ""
    if not url:
        process.kill()
        process.wait()
        raise HostError("the route service did not start: " +
                        (folder / "serve.log").read_text(errors="replace"))
    return process, url


def first_unpicked_row(state):
    for position, row in enumerate(state["rows"], start=1):
        if not row["checked"]:
            return position, row["text"]
    raise HostError("every segment of the demo load is picked already")


def drive(component, server):
    component.check(component.lib.DllRegisterServer(), "DllRegisterServer")
    registry = json.loads(Path(os.environ["TARVINE_REGISTRY"]).read_text())
    entry = registry["classes"][CLASS_ID]
    print(f"registered {entry['name']} {CLASS_ID} -> {entry['library']}")

    control = Control(component, component.create_through_class_factory(CLASS_ID))
    try:
        control.call("PutServerName", text_argument(server))
        control.call("SetFacilityID", text_argument("DEMO"))
        # The person texts arrive as numbers; the control takes them as their texts.
        control.call("SetPersonInformation", integer_argument(7), integer_argument(2))
        # An unreachable service ends here, instead of in an empty load that looks picked.
        control.call_by_id(control.dispid("puttarvineid"), text_argument("5001"),
                           name="PutTarvineID")
        state = control.state()
        print(f"load {state['manifest']}, route {state['route']}, {len(state['rows'])} segments")

        position, order = first_unpicked_row(state)
        print(f"picking P.O. {order} (row {position}) and saving")
        lines = control.run_script(f"toggle {position}\nsave\n")
        if SAVED not in control.messages:
            raise HostError(f"the save did not report success: {lines}")
        totals = control.state()["totals"]
        print(f"TOTALS per Load: cartons {totals[0]}, weight (lbs) {totals[1]}, "
              f"freight ($) {totals[2]}")
    finally:
        control.destroy()
    component.check(component.lib.DllCanUnloadNow(), "DllCanUnloadNow")
    component.check(component.lib.DllUnregisterServer(), "DllUnregisterServer")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--library", type=Path,
                        default=ROOT / "build/src/component/libtarvine_order_pick.so")
    parser.add_argument("--tarvine", type=Path, default=ROOT / "build/apps/tarvine/tarvine")
    parser.add_argument("--server", help="URL of a running route service with the demo data")
    options = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="tarvine-python-") as temporary:
        folder = Path(temporary)
        os.environ.setdefault("TARVINE_REGISTRY", str(folder / "registry.json"))
        os.environ.setdefault("TARVINE_EVENT_LOG", str(folder / "events.log"))
        process = None
        try:
            server = options.server
            if not server:
                process, server = start_route_service(options.tarvine, folder)
            drive(Component(options.library), server)
        except (HostError, OSError) as error:
            print(f"order_pick_host: {error}", file=sys.stderr)
            return 1
        finally:
            if process:
                process.terminate()
                process.wait(timeout=30)
    return 0


if __name__ == "__main__":
    sys.exit(main())
