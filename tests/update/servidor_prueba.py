#!/usr/bin/env python3
# The update server of the tests, on 127.0.0.1: serves the files of the folder
# given under /WAY/Descargas/Actualizar/ ("checksize.php?input=NAME" answers the
# file checksize-NAME; 404 when missing). WAY: ok; truncated (an updater one
# hundred bytes short of its announced length); silent (never answers);
# redirect (to /ok/). /headers echoes the agent and cache headers. Prints its
# port and process id; ends when killed or when its parent is gone.
import http.server, os, sys, threading, time, urllib.parse


class Handler(http.server.BaseHTTPRequestHandler):
    def log_message(self, *args):
        pass

    def answer(self, code, body=b"", length=None, location=None):
        self.send_response(code)
        self.send_header("Content-Length", str(len(body) if length is None else length))
        if location:
            self.send_header("Location", location)
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        way, _, rest = url.path.lstrip("/").partition("/")
        if way == "headers":
            return self.answer(200, "|".join(self.headers.get(h, "") for h in
                                             ("User-Agent", "Cache-Control", "Pragma")).encode())
        if way == "redirect":
            return self.answer(302, location="/ok/" + rest + "?" + url.query)
        if way == "silent":
            time.sleep(3600)
        name = rest.rpartition("/")[2]
        if name == "checksize.php":
            name = "checksize-" + urllib.parse.parse_qs(url.query).get("input", [""])[0]
        try:
            with open(os.path.join(sys.argv[1], name), "rb") as f:
                body = f.read()
        except OSError:
            return self.answer(404, b"Not found")
        short = way == "truncated" and not name.startswith("checksize-")
        self.answer(200, body, len(body) + 100 if short else None)


def watch(parent):
    while os.getppid() == parent:
        time.sleep(0.5)
    os._exit(0)


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
server.daemon_threads = True
print(server.server_address[1], os.getpid(), flush=True)
threading.Thread(target=watch, args=(os.getppid(),), daemon=True).start()
server.serve_forever()
