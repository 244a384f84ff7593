#!/usr/bin/env python3
"""A large definition's memory goes back to the system when it is closed:
opens a generated definition of about 1 MB in velkin-lsp, waits for its
diagnostics, closes it, and compares the server's resident memory after
the close with its peak.

  memory.py SERVER GEN_MENU_PY
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench"))
import lsp  # noqa: E402  (bench/lsp.py: the client)


def status_kb(process, field):
    for line in open("/proc/%d/status" % process.pid):
        if line.startswith(field + ":"):
            return int(line.split()[1])
    raise KeyError(field)


def main():
    server, generator = sys.argv[1], sys.argv[2]
    with tempfile.TemporaryDirectory() as work:
        path = os.path.join(work, "menu-tv.json")
        subprocess.run([sys.executable, generator, "--mb", "1", "-o", path], check=True,
                       capture_output=True)
        client = lsp.Client(server)
        client.request("initialize", {"capabilities": {}})
        start = status_kb(client.process, "VmRSS")
        doc = {"uri": "file://" + path}
        client.notify("textDocument/didOpen", {"textDocument": dict(
            doc, languageId="json", version=1, text=open(path, encoding="utf-8").read())})
        published = client.wait_for("textDocument/publishDiagnostics")
        peak = status_kb(client.process, "VmHWM")
        client.notify("textDocument/didClose", {"textDocument": doc})
        cleared = client.wait_for("textDocument/publishDiagnostics")
        after = status_kb(client.process, "VmRSS")
        client.close()
    print("resident: %d kB at start, %d kB at the peak, %d kB after the close" % (start, peak, after))
    if not published["params"]["diagnostics"] or cleared["params"]["diagnostics"]:
        sys.exit("no diagnostics published, or not cleared on close")
    if after - start > (peak - start) / 4:
        sys.exit("the closed definition's memory stays with the server")
    if client.process.returncode != 0:
        sys.exit("exit status %d after shutdown and exit" % client.process.returncode)


if __name__ == "__main__":
    main()
