#!/usr/bin/env python3
"""Login pages for the web-login end-to-end test, on a free loopback port.

usage: login_pages.py <port file> <post log>

Writes the chosen port into the port file, then serves:
  /plain          a user name and password form
  /framed         a page whose login form sits in a frame (its own search
                  form beside the frame must stay untouched)
  /late           a form whose inputs appear 500 ms after the load
  /autocomplete   inputs marked autocomplete="username" / "current-password"
                  with names that say nothing
  /change         a change-password form with three password inputs
  /slow           a page that never finishes loading
Every form posts to /post/<page>; each post is appended to the post log as
one JSON line: {"page", "fields" (name -> list of values), "time" (ms since
1970)}.
"""
import json
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

FORM = '<form method="post" action="/post/{page}">{inputs}</form>'
LOGIN_INPUTS = ('<input type="text" name="user"> <input type="password" name="pass">'
                ' <input type="submit" name="go" value="Sign in">')


def page(title, body):
    return f'<!DOCTYPE html><html><head><title>{title}</title></head><body>{body}</body></html>'


PAGES = {
    '/plain': page('Plain', FORM.format(page='plain', inputs=LOGIN_INPUTS)),
    '/framed': page('Framed', FORM.format(page='top', inputs='<input type="text" name="user">') +
                    '<iframe src="/framed-inner"></iframe>'),
    '/framed-inner': page('Inner', FORM.format(page='framed', inputs=LOGIN_INPUTS)),
    '/late': page('Late', '<div id="place"></div><script>'
                  'window.addEventListener("load", () => setTimeout(() => {'
                  ' document.getElementById("place").innerHTML = '
                  + json.dumps(FORM.format(page='late', inputs=LOGIN_INPUTS)) + '; }, 500));</script>'),
    '/autocomplete': page('Autocomplete', FORM.format(page='autocomplete', inputs=(
        '<input type="text" name="field_a" autocomplete="username">'
        ' <input type="password" name="field_b" autocomplete="current-password">'
        ' <input type="submit" value="Continue">'))),
    '/change': page('Change', FORM.format(page='change', inputs=(
        '<input type="password" name="current_password"> <input type="password" name="new_password">'
        ' <input type="password" name="new_password_again"> <input type="submit" value="Change">'))),
}

lock = threading.Lock()


class Handler(BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'

    def log_message(self, *args):
        pass

    def send_page(self, status, text):
        body = text.encode()
        self.send_response(status)
        self.send_header('Content-Type', 'text/html; charset=utf-8')
        self.send_header('Content-Length', str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def do_GET(self):
        path = urllib.parse.urlsplit(self.path).path
        if path == '/slow':
            # Headers and a first part, then nothing for a long time.
            self.send_response(200)
            self.send_header('Content-Type', 'text/html; charset=utf-8')
            self.send_header('Content-Length', '100000')
            self.end_headers()
            self.wfile.write(b'<!DOCTYPE html><html><head><title>Slow</title></head><body>')
            self.wfile.flush()
            time.sleep(60)
            return
        if path in PAGES:
            self.send_page(200, PAGES[path])
        else:
            self.send_page(404, page('Not found', ''))

    def do_POST(self):
        length = int(self.headers.get('Content-Length', '0'))
        fields = urllib.parse.parse_qs(self.rfile.read(length).decode(), keep_blank_values=True)
        name = urllib.parse.urlsplit(self.path).path.rsplit('/', 1)[-1]
        record = {'page': name, 'fields': fields, 'time': int(time.time() * 1000)}
        with lock, open(sys.argv[2], 'a') as log:
            log.write(json.dumps(record) + '\n')
        self.send_page(200, page('Posted', 'ok'))


def main():
    server = ThreadingHTTPServer(('127.0.0.1', 0), Handler)
    server.daemon_threads = True
    with open(sys.argv[1] + '.tmp', 'w') as f:
        f.write(str(server.server_address[1]))
    import os
    os.replace(sys.argv[1] + '.tmp', sys.argv[1])
    server.serve_forever()


if __name__ == '__main__':
    main()
