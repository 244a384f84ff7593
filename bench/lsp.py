#!/usr/bin/env python3
"""Times velkin-lsp as an editor uses it, on the tv example and on generated
definitions of about 1 and 10 MB (gen_menu.py): from opening, and from a
one-character change, to the diagnostics; and hover, definition and rename
on an identifier a menu lists (the first of each after a change builds the
document's model, timed apart; then the median of the rest).

  bench/lsp.py [--server build/lsp/velkin-lsp] [--sizes 1 10] [--runs 9]
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))


class Client:
    def __init__(self, server):
        self.process = subprocess.Popen([server], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.next_id = 0

    def send(self, message):
        body = json.dumps(message).encode()
        self.process.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
        self.process.stdin.flush()

    def receive(self):
        length = None
        while True:
            line = self.process.stdout.readline()
            if line in (b"\r\n", b""):
                break
            if line.lower().startswith(b"content-length:"):
                length = int(line.split(b":")[1])
        return json.loads(self.process.stdout.read(length))

    def request(self, method, params):
        self.next_id += 1
        self.send({"jsonrpc": "2.0", "id": self.next_id, "method": method, "params": params})
        while True:
            message = self.receive()
            if message.get("id") == self.next_id:
                return message

    def wait_for(self, method):
        while True:
            message = self.receive()
            if message.get("method") == method:
                return message

    def notify(self, method, params):
        self.send({"jsonrpc": "2.0", "method": method, "params": params})

    def close(self):
        self.request("shutdown", None)
        self.notify("exit", None)
        self.process.wait()


def milliseconds(start):
    return (time.perf_counter() - start) * 1000


def cpu_ms(process):
    """The server's processor time so far (user and system), in ms: on a
    loaded machine it says what the wall time cannot."""
    fields = open("/proc/%d/stat" % process.pid).read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1000 / os.sysconf("SC_CLK_TCK")


def position_of_listed(text):
    """The line and UTF-16 character inside the first string "submenuitems" lists."""
    at = text.index('"submenuitems"')
    at = text.index('"', text.index("[", at)) + 2
    line = text.count("\n", 0, at)
    column = at - (text.rfind("\n", 0, at) + 1)
    return {"line": line, "character": len(text[at - column:at].encode("utf-16-le")) // 2}


def measure(server, path, runs):
    text = open(path, encoding="utf-8").read()
    uri = "file://" + os.path.abspath(path)
    doc = {"uri": uri}
    client = Client(server)
    client.request("initialize", {"capabilities": {}})
    start, cpu = time.perf_counter(), cpu_ms(client.process)
    client.notify("textDocument/didOpen", {"textDocument": dict(doc, languageId="json", version=1, text=text)})
    client.wait_for("textDocument/publishDiagnostics")
    figures = {"open": milliseconds(start), "open cpu": cpu_ms(client.process) - cpu}
    where = position_of_listed(text)
    changes, change_cpu, first, rest = [], [], {}, {}
    for run in range(runs):
        edit = {"range": {"start": where, "end": where}, "text": ""}  # touches nothing, still a change
        start, cpu = time.perf_counter(), cpu_ms(client.process)
        client.notify("textDocument/didChange", {"textDocument": dict(doc, version=run + 2), "contentChanges": [edit]})
        client.wait_for("textDocument/publishDiagnostics")
        changes.append(milliseconds(start))
        change_cpu.append(cpu_ms(client.process) - cpu)
        for name, method, extra in (("hover", "textDocument/hover", {}),
                                    ("definition", "textDocument/definition", {}),
                                    ("rename", "textDocument/rename", {"newName": "bench_renamed"})):
            start = time.perf_counter()
            answer = client.request(method, dict({"textDocument": doc, "position": where}, **extra))
            took = milliseconds(start)
            assert "error" not in answer and answer["result"] is not None, answer
            (first if name == "hover" else rest).setdefault(name, []).append(took)
            if name != "hover":
                continue
            for _ in range(3):
                start = time.perf_counter()
                client.request(method, {"textDocument": doc, "position": where})
                rest.setdefault("hover", []).append(milliseconds(start))
    client.close()
    figures["change"] = statistics.median(changes)
    figures["change cpu"] = statistics.median(change_cpu)
    figures["model"] = statistics.median(first["hover"])
    for name in ("hover", "definition", "rename"):
        figures[name] = statistics.median(rest[name])
    return figures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--server", default=os.path.join(HERE, "..", "build", "lsp", "velkin-lsp"))
    parser.add_argument("--sizes", nargs="*", type=int, default=[1, 10])
    parser.add_argument("--runs", type=int, default=9)
    args = parser.parse_args()
    work = tempfile.mkdtemp(prefix="velkin-lsp-bench-")
    inputs = [("example", os.path.join(HERE, "..", "examples", "menu-tv.json"))]
    for mb in args.sizes:
        path = os.path.join(work, "%d" % mb, "menu-tv.json")
        os.makedirs(os.path.dirname(path))
        subprocess.run([sys.executable, os.path.join(HERE, "gen_menu.py"), "--mb", str(mb), "-o", path], check=True)
        inputs.append(("%d MB" % mb, path))
    print("milliseconds, medians of %d runs; cpu: the server's processor time" % args.runs)
    print("%-8s %9s %9s %9s %11s %9s %9s %11s %9s" % ("input", "open", "open cpu", "change",
          "change cpu", "1st req", "hover", "definition", "rename"))
    for name, path in inputs:
        f = measure(os.path.abspath(args.server), path, args.runs)
        print("%-8s %9.1f %9.0f %9.1f %11.0f %9.1f %9.2f %11.2f %9.2f" %
              (name, f["open"], f["open cpu"], f["change"], f["change cpu"], f["model"],
               f["hover"], f["definition"], f["rename"]))
    subprocess.run(["rm", "-rf", work])


if __name__ == "__main__":
    main()
