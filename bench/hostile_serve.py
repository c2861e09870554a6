#!/usr/bin/env python3
"""Hostile clients against `tarvine serve` on loopback; prints the service's memory (VmHWM,
VmRSS in MB from /proc) and answers.

usage: bench/hostile_serve.py TARVINE_PROGRAM chunked|memory|accepted|slow|readers|flood|backup-wal|smuggle
"""
import http.client, os, socket, sqlite3, subprocess, sys, tempfile, threading, time

NS = "http://tarvine.example/VOZARouteLocations/Service1"
PATH = "/WebServices/VOZAWebservice/VOZAWebservice.asmx"
HEAD = ('<?xml version="1.0" encoding="utf-8"?><soap:Envelope '
        'xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/"><soap:Body>'
        '<GetOutgoingLoadAllOrders xmlns="%s"><OutgoingLoadID>5001</OutgoingLoadID>'
        '<FacilityID>DEMO</FacilityID>' % NS).encode()
TAIL = b'</GetOutgoingLoadAllOrders></soap:Body></soap:Envelope>'
ACTION = NS + "/GetOutgoingLoadAllOrders"
# A save that writes one history row.
SAVE = (b'<?xml version="1.0" encoding="utf-8"?><soap:Envelope '
        b'xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/"><soap:Body>'
        b'<UpdateOutgoingLoadOrder xmlns="%s"><OutgoingLoadOrderArray><string>EXECUTE '
        b"spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '12-34567',1,7,2</string>"
        b'</OutgoingLoadOrderArray></UpdateOutgoingLoadOrder></soap:Body></soap:Envelope>')


def start(binary, db):
    proc = subprocess.Popen([binary, "serve", "--demo", "--db", db], stdout=subprocess.PIPE,
                            stderr=subprocess.DEVNULL, text=True)
    url = proc.stdout.readline().strip()
    return proc, int(url.rsplit(":", 1)[1])


def status(pid):
    fields = {}
    for line in open("/proc/%d/status" % pid):
        key, _, value = line.partition(":")
        if key in ("VmHWM", "VmRSS"):
            fields[key] = int(value.split()[0]) // 1024
    return fields


def post(port, chunks, chunked, timeout=120):
    sock = socket.create_connection(("127.0.0.1", port), timeout=timeout)
    head = "POST %s HTTP/1.1\r\nHost: 127.0.0.1:%d\r\nSOAPAction: %s\r\n" \
           "Content-Type: text/xml; charset=utf-8\r\n" % (PATH, port, ACTION)
    try:
        if chunked:
            sock.sendall((head + "Transfer-Encoding: chunked\r\n\r\n").encode())
            for chunk in chunks():
                sock.sendall(b"%x\r\n%s\r\n" % (len(chunk), chunk))
            sock.sendall(b"0\r\n\r\n")
        else:
            total = sum(len(c) for c in chunks())
            sock.sendall((head + "Content-Length: %d\r\n\r\n" % total).encode())
            for chunk in chunks():
                sock.sendall(chunk)
    except OSError as error:
        pass
    reply = b""
    try:
        while True:
            data = sock.recv(65536)
            if not data:
                break
            reply += data
            if b"\r\n\r\n" in reply:
                head_end = reply.index(b"\r\n\r\n")
                length = [l for l in reply[:head_end].split(b"\r\n") if l.lower().startswith(b"content-length")]
                if length and len(reply) >= head_end + 4 + int(length[0].split(b":")[1]):
                    break
    except OSError as error:
        return "connection error: %s" % error
    finally:
        sock.close()
    first = reply.split(b"\r\n", 1)[0].decode(errors="replace")
    fault = b""
    if b"<faultstring>" in reply:
        fault = reply.split(b"<faultstring>")[1].split(b"</faultstring>")[0]
    return first + (" fault: " + fault.decode(errors="replace") if fault else "")


def padded(mib, filler):
    def chunks():
        yield HEAD
        block = filler * (65536 // len(filler))
        for _ in range(mib * 1024 * 1024 // len(block)):
            yield block
        yield TAIL
    return chunks


def chunked(binary, db):
    proc, port = start(binary, db)
    try:
        t = time.time()
        print("chunked 200 MiB of blanks:", post(port, padded(200, b" "), True),
              "in %.1f s" % (time.time() - t), status(proc.pid))
    finally:
        proc.terminate(); proc.wait()


def memory(binary, db):
    for mib, count, chunked_ in ((63, 1, False), (63, 3, False), (15, 1, False), (15, 3, False),
                                 (15, 3, True)):
        proc, port = start(binary, db)
        try:
            time.sleep(0.3)
            base = status(proc.pid)
            results = []
            threads = [threading.Thread(target=lambda: results.append(
                post(port, padded(mib, b"<a/>"), chunked_))) for _ in range(count)]
            for th in threads: th.start()
            for th in threads: th.join()
            time.sleep(0.5)
            print("%d x %d MiB of <a/>%s: start %s, after %s; %s" % (
                count, mib, " chunked" if chunked_ else "", base, status(proc.pid), results[0]))
        finally:
            proc.terminate(); proc.wait()


def largest_save_body(port):
    """The save of every segment of load 600 taken off and put back: what the control sends."""
    import html, re
    body = HEAD.replace(b"5001", b"600")
    conn = http.client.HTTPConnection("127.0.0.1", port, timeout=120)
    conn.request("POST", PATH, body + TAIL, {"SOAPAction": ACTION, "Content-Type": "text/xml"})
    data = html.unescape(conn.getresponse().read().decode())
    rows = re.findall(r"<OrderID>([^<]*)</OrderID><VOZA_OrderSegment>(\d+)</VOZA_OrderSegment>"
                      r".*?<CenterID>(\d+)</CenterID>", data)
    items = []
    for order, segment, center in rows:
        items.append("Update VOZA_OrderHeader Set VOZA_OrderHeader.OutgoingLoad = 600, "
                     "Freight = 1234.56  Where CenterID = %s and OrderID = '%s' and "
                     "VOZA_OrderSegment = %s" % (center, order, segment))
        items.append("EXECUTE spVOZAOrderProgressHistoryOutgoingLoadAdd 2, '%s',%s,7,2"
                     % (order, segment))
    items.append("")
    text = "".join("<string>%s</string>\r\n" % i for i in items)
    return len(rows), ('<?xml version="1.0" encoding="utf-8"?><soap:Envelope '
            'xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/"><soap:Body>'
            '<UpdateOutgoingLoadOrder xmlns="%s">      <OutgoingLoadOrderArray>%s'
            '</OutgoingLoadOrderArray> </UpdateOutgoingLoadOrder></soap:Body></soap:Envelope>'
            % (NS, text)).encode()


def accepted(binary, db):
    """The costliest bodies the service accepts: the largest save, and 16 MiB of the most
    elements, attributes and text it lets through."""
    filler = b'<a b="x">' + b"t" * 107 + b"</a>"
    widest = HEAD + filler * 131000 + TAIL
    for name, count in (("largest save", 1), ("largest save", 3), ("widest query", 1),
                        ("widest query", 3), ("widest query", 8)):
        proc = subprocess.Popen([binary, "serve", "--db", db + name + str(count),
                                 "--generate-load", "600", "--segments", "32767"],
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        port = int(proc.stdout.readline().strip().rsplit(":", 1)[1])
        try:
            if name == "largest save":
                segments, body = largest_save_body(port)
                action = NS + "/UpdateOutgoingLoadOrder"
            else:
                segments, body, action = 0, widest, ACTION
            time.sleep(1)
            base = status(proc.pid)
            results = []
            def send():
                conn = http.client.HTTPConnection("127.0.0.1", port, timeout=300)
                conn.request("POST", PATH, body, {"SOAPAction": action, "Content-Type": "text/xml"})
                reply = conn.getresponse()
                results.append("HTTP %d" % reply.status)
                reply.read()
            threads = [threading.Thread(target=send) for _ in range(count)]
            for th in threads: th.start()
            for th in threads: th.join()
            time.sleep(0.5)
            print("%d x %s (%.1f MB, %d segments): start %s, after %s; %s" % (
                count, name, len(body) / 1e6, segments, base, status(proc.pid), results))
        finally:
            proc.terminate(); proc.wait()


def slow(binary, db, clients=64, limit=30):
    proc, port = start(binary, db)
    stop = threading.Event()
    def slowloris():
        try:
            sock = socket.create_connection(("127.0.0.1", port), timeout=5)
            for byte in b"POST %s HTTP/1.1\r\nHost: 127.0.0.1\r\n" % PATH.encode() * 100:
                if stop.is_set():
                    break
                sock.send(bytes([byte]))
                stop.wait(2)
        except OSError:
            pass
    try:
        t0 = time.time()
        print("alone:", post(port, padded(0, b" "), False), "%.3f s" % (time.time() - t0))
        threads = [threading.Thread(target=slowloris) for _ in range(clients)]
        for th in threads: th.start()
        time.sleep(1)
        for attempt in range(3):
            t0 = time.time()
            answer = post(port, padded(0, b" "), False, timeout=limit)
            print("with %d slow clients: %s after %.3f s" % (clients, answer, time.time() - t0))
    finally:
        stop.set()
        proc.terminate(); proc.wait()


def spawn(binary, db, *options, stderr=subprocess.DEVNULL):
    proc = subprocess.Popen([binary, "serve", "--db", db] + list(options), stdout=subprocess.PIPE,
                            stderr=stderr, text=True)
    return proc, int(proc.stdout.readline().strip().rsplit(":", 1)[1])


def small_query(port, source="127.0.0.2"):
    """A small query (GetOutgoingLoadBasicTotal) from another address: its status and seconds."""
    body = HEAD.replace(b"GetOutgoingLoadAllOrders", b"GetOutgoingLoadBasicTotal")
    body = body[:body.index(b"<FacilityID>")] + TAIL.replace(b"GetOutgoingLoadAllOrders",
                                                             b"GetOutgoingLoadBasicTotal")
    t0 = time.time()
    try:
        conn = http.client.HTTPConnection("127.0.0.1", port, timeout=60,
                                          source_address=(source, 0))
        conn.request("POST", PATH, body, {"SOAPAction": NS + "/GetOutgoingLoadBasicTotal",
                                          "Content-Type": "text/xml"})
        reply = conn.getresponse()
        reply.read()
        conn.close()
        return reply.status, time.time() - t0
    except OSError as error:
        return str(error), time.time() - t0


def readers(binary, db, clients=40):
    """Clients that ask for every order of a 32,767-segment load and never read the reply, all
    from 127.0.0.1 and then each from an address of its own; meanwhile small queries from
    127.0.0.2 every 0.2 s for 15 s."""
    body = HEAD.replace(b"5001", b"600") + TAIL
    request = (b"POST %s HTTP/1.1\r\nHost: 127.0.0.1\r\nSOAPAction: %s\r\nContent-Type: text/xml"
               b"\r\nContent-Length: %d\r\n\r\n" % (PATH.encode(), ACTION.encode(), len(body)))
    for spread in (False, True):
        proc, port = spawn(binary, db + str(spread), "--generate-load", "600", "--segments",
                           "32767")
        socks = []
        try:
            time.sleep(1)
            base = status(proc.pid)
            for i in range(clients):
                sock = socket.socket()
                sock.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 4096)
                sock.bind(("127.0.0.%d" % (10 + i) if spread else "127.0.0.1", 0))
                sock.connect(("127.0.0.1", port))
                sock.sendall(request + body)
                socks.append(sock)
            latencies, late, statuses, peak = [], [], set(), 0
            until = time.time() + 15
            while time.time() < until:
                answer, seconds = small_query(port)
                statuses.add(answer)
                latencies.append(seconds)
                if until - time.time() < 5:
                    late.append(seconds)
                peak = max(peak, status(proc.pid)["VmRSS"])
                time.sleep(0.2)
            answers = {}
            for sock in socks:
                sock.settimeout(5)
                try:
                    first = sock.recv(64).split(b"\r\n", 1)[0].decode(errors="replace")
                except OSError as error:
                    first = str(error)
                answers[first] = answers.get(first, 0) + 1
            latencies.sort()
            print("%d non-reading clients from %s: start %s, peak VmRSS %d MB, VmHWM %d MB; "
                  "small queries %s: median %.3f s, max %.3f s (%.3f s in the last 5 s); "
                  "the clients got %s" % (
                      clients, "an address each" if spread else "one address", base, peak,
                      status(proc.pid)["VmHWM"], sorted(statuses, key=str),
                      latencies[len(latencies) // 2], latencies[-1], max(late), answers))
        finally:
            for sock in socks:
                sock.close()
            proc.terminate(); proc.wait()


def flood(binary, db, held=600, seconds=5):
    """One address opens `held` silent connections, then connects and closes again as fast as it
    can for `seconds`; meanwhile small queries from 127.0.0.2. Prints the log's refusal lines."""
    with tempfile.TemporaryFile("w+") as log:
        proc, port = spawn(binary, db, "--demo", stderr=log)
        socks, attempts = [], 0
        try:
            for _ in range(held):
                try:
                    socks.append(socket.create_connection(("127.0.0.1", port), timeout=5))
                except OSError:
                    break
            time.sleep(0.5)
            answers, stop = [], threading.Event()
            def other():
                while not stop.is_set():
                    answers.append(small_query(port))
                    stop.wait(0.5)
            watcher = threading.Thread(target=other)
            watcher.start()
            until = time.time() + seconds
            while time.time() < until:
                try:
                    socket.create_connection(("127.0.0.1", port), timeout=5).close()
                except OSError:
                    pass
                attempts += 1
            stop.set(); watcher.join()
        finally:
            for sock in socks:
                sock.close()
            proc.terminate(); proc.wait()
        log.seek(0)
        refused = [line for line in log.read().splitlines() if "(refused)" in line]
        served = sum(1 for answer in answers if answer[0] == 200)
        print("%d connections held, %d attempts in %d s: %d refusal lines, %d bytes (%.0f B/s); "
              "127.0.0.2 served %d of %d small queries" % (
                  len(socks), attempts, seconds, len(refused), sum(len(l) + 1 for l in refused),
                  sum(len(l) + 1 for l in refused) / seconds, served, len(answers)))
        for line in refused[:2] + refused[-1:]:
            print("  " + line[:200])


def smuggle(binary, db):
    """A request whose Transfer-Encoding is not a final "chunked", its body a whole save: what
    the service answers and how many history rows the save wrote."""
    proc, port = spawn(binary, db, "--demo")
    save = SAVE % NS.encode()
    inner = (b"POST %s HTTP/1.1\r\nHost: 127.0.0.1\r\nSOAPAction: %s/UpdateOutgoingLoadOrder\r\n"
             b"Content-Length: %d\r\n\r\n%s" % (PATH.encode(), NS.encode(), len(save), save))
    try:
        for coding in ("xchunked", "identity", "gzip", "chunked, identity", "gzip, chunked"):
            first = history_rows(db)
            sock = socket.create_connection(("127.0.0.1", port), timeout=10)
            sock.sendall(b"POST %s HTTP/1.1\r\nHost: 127.0.0.1\r\nTransfer-Encoding: %s\r\n"
                         b"\r\n%s" % (PATH.encode(), coding.encode(), inner))
            replies = b""
            try:
                while True:
                    data = sock.recv(65536)
                    if not data:
                        break
                    replies += data
            except OSError:
                pass
            sock.close()
            statuses = [line.decode() for line in replies.split(b"\r\n")
                        if line.startswith(b"HTTP/1.1 ")]
            print("Transfer-Encoding: %s -> %s; history rows written: %d" % (
                coding, statuses, history_rows(db) - first))
    finally:
        proc.terminate(); proc.wait()


def history_rows(db):
    connection = sqlite3.connect(db)
    try:
        return connection.execute("SELECT COUNT(*) FROM VOZA_OrderProgressHistory").fetchone()[0]
    finally:
        connection.close()


def backup_wal(binary, db, seconds=4):
    """Saves acknowledged one after another while `--backup DB-wal` runs half-way, then kill -9:
    how many of the acknowledged saves the database still holds."""
    proc, port = spawn(binary, db, "--demo")
    save = SAVE % NS.encode()
    acknowledged, stop = [0], threading.Event()
    def saver():
        conn = http.client.HTTPConnection("127.0.0.1", port, timeout=30)
        while not stop.is_set():
            try:
                conn.request("POST", PATH, save, {"SOAPAction": NS + "/UpdateOutgoingLoadOrder",
                                                  "Content-Type": "text/xml"})
                reply = conn.getresponse()
                if reply.status == 200 and b"Fault" not in reply.read():
                    acknowledged[0] += 1
            except OSError:
                return
    first = history_rows(db)
    thread = threading.Thread(target=saver)
    thread.start()
    time.sleep(seconds / 2)
    backup = subprocess.run([binary, "serve", "--db", db, "--backup", db + "-wal"],
                            capture_output=True, text=True)
    time.sleep(seconds / 2)
    stop.set(); thread.join()
    proc.kill(); proc.wait()
    present = history_rows(db) - first
    print("--backup DB-wal: exit %d %s; %d saves acknowledged, %d present after kill -9" % (
        backup.returncode, backup.stderr.strip()[:160], acknowledged[0], present))


if __name__ == "__main__":
    binary, what = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as folder:
        {"chunked": chunked, "memory": memory, "slow": slow, "accepted": accepted,
         "readers": readers, "flood": flood, "backup-wal": backup_wal,
         "smuggle": smuggle}[what](binary, os.path.join(folder, "demo.db"))
