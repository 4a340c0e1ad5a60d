#!/usr/bin/env python3
# The update server of the tests, on 127.0.0.1: serves the files of the folder
# given under /WAY/Descargas/Actualizar/ ("checksize.php?input=NAME" answers the
# file checksize-NAME; 404 when missing), over HTTP and over HTTPS with a
# throwaway certificate for localhost and 127.0.0.1 (written as ca.pem and
# ca.der beside the folder's files, the only authority a test trusts).
#
# WAY is how the answers are sent; "SIZE+UPDATER" gives the size query and
# the other files ways of their own:
#   ok        a Content-Length            chunked   chunks, to the last one
#   truncated 100 bytes fewer than announced, then the connection closes
#   chunkcut  half the chunks, then the connection closes before the last
#   close     no length: the closed connection ends the body
#   endless   chunks that do not end before 4 x 64 MiB (then they do, so
#             that a client without a limit fails its test, not the machine)
#   silent    never answers              redirect  302 to /ok/ on this server
#   noloc     302 without a Location, the file as its body
#   tohttp    302 to /ok/ over plain HTTP
# A request made through a proxy (an absolute address, or CONNECT) never gets
# an answer: a program pointed at this server as its proxy finds the network
# stalled.
# Prints its HTTP port, its HTTPS port and its process id; ends when killed
# or when its parent is gone.
import http.server, os, ssl, subprocess, sys, threading, time, urllib.parse

CHUNK = 64 * 1024


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def head(self, code, headers):
        self.close_connection = True
        self.send_response(code)
        for name, value in headers:
            self.send_header(name, value)
        self.send_header("Connection", "close")
        self.end_headers()

    def answer(self, code, body=b"", length=None, location=None):
        headers = [("Content-Length", str(len(body) if length is None else length))]
        if location:
            headers.append(("Location", location))
        self.head(code, headers)
        self.wfile.write(body)

    def chunks(self, pieces, last=True):
        self.head(200, [("Transfer-Encoding", "chunked")])
        for piece in pieces:
            self.wfile.write(b"%x\r\n%s\r\n" % (len(piece), piece))
        if last:
            self.wfile.write(b"0\r\n\r\n")

    def do_CONNECT(self):
        time.sleep(3600)

    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        if url.netloc:
            time.sleep(3600)
        way, _, rest = url.path.lstrip("/").partition("/")
        name = rest.rpartition("/")[2]
        if name == "checksize.php":
            name = "checksize-" + urllib.parse.parse_qs(url.query).get("input", [""])[0]
        ways = way.split("+")
        way = ways[0] if name.startswith("checksize-") else ways[-1]
        if way == "silent":
            time.sleep(3600)
        if way in ("redirect", "tohttp"):
            base = "http://127.0.0.1:%d" % PORT if way == "tohttp" else ""
            return self.answer(302, location=base + "/ok/" + rest + "?" + url.query)
        if way == "endless":
            return self.chunks(b"x" * CHUNK for _ in range((4 << 26) // CHUNK))
        try:
            with open(os.path.join(sys.argv[1], name), "rb") as f:
                body = f.read()
        except OSError:
            return self.answer(404, b"Not found")
        if way == "noloc":
            return self.answer(302, body)
        if way == "truncated":
            return self.answer(200, body, len(body) + 100)
        if way in ("chunked", "chunkcut"):
            sent = body if way == "chunked" else body[:len(body) // 2]
            return self.chunks((sent[at:at + CHUNK] for at in range(0, len(sent), CHUNK)), way == "chunked")
        if way == "close":
            self.head(200, [])
            return self.wfile.write(body)
        self.answer(200, body)


def watch(parent):
    while os.getppid() == parent:
        time.sleep(0.5)
    os._exit(0)


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True

    def handle_error(self, request, client_address):
        pass  # a client that hung up (a refused body) is no error of the server


def serve(secure):
    server = Server(("127.0.0.1", 0), Handler)
    if secure:
        pem = os.path.join(sys.argv[1], "ca.pem")
        key = os.path.join(sys.argv[1], "key.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                        "-nodes", "-days", "2", "-subj", "/CN=localhost", "-keyout", key, "-out", pem,
                        "-addext", "subjectAltName=DNS:localhost,IP:127.0.0.1"],
                       check=True, capture_output=True)
        with open(pem) as text, open(os.path.join(sys.argv[1], "ca.der"), "wb") as der:
            der.write(ssl.PEM_cert_to_DER_cert(text.read()))
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(pem, key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


PORT = serve(False)
print(PORT, serve(True), os.getpid(), flush=True)
watch(os.getppid())
