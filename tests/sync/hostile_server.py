#!/usr/bin/env python3
# SPDX-FileCopyrightText: 2026 Tellmarin-Team
# SPDX-License-Identifier: GPL-3.0-or-later
"""A WebDAV peer that answers badly, for the sync's tests of bad server
answers (no real server gives them on purpose). Each collection path names
its fault:

  /garbage/    multistatus answers that are no XML
  /huge/       an address book whose one card is 10 MB
  /many/       a listing of 50,000 resources outside the collection, one inside
  /wrongtype/  multiget answered with an HTML page
  /redirect/   every request redirected to another host

Prints the port on the first line, then serves until killed."""
import http.server
import socketserver
import sys

MULTI = '<?xml version="1.0"?><d:multistatus xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:carddav">{}</d:multistatus>'
COLLECTION = ('<d:response><d:href>{path}</d:href><d:propstat><d:prop><d:resourcetype><d:collection/>'
              '<c:addressbook/></d:resourcetype><d:displayname>{name}</d:displayname><d:supported-report-set>'
              '<d:supported-report><d:report><d:sync-collection/></d:report></d:supported-report>'
              '</d:supported-report-set></d:prop>'
              '<d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>')
MEMBER = ('<d:response><d:href>{href}</d:href><d:propstat><d:prop><d:getetag>"{etag}"</d:getetag>{data}'
          '</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>')


def card(uid, note=''):
    return ('BEGIN:VCARD\r\nVERSION:3.0\r\nUID:%s\r\nN:Becker;Thomas;;;\r\nFN:Thomas Becker\r\n'
            'TEL;TYPE=WORK:+49 30 1234567\r\nNOTE:%s\r\nEND:VCARD\r\n' % (uid, note))


class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = 'HTTP/1.1'

    def log_message(self, *args):
        pass

    def answer(self, status, body, ctype='application/xml; charset=utf-8', headers=()):
        data = body.encode() if isinstance(body, str) else body
        self.send_response(status)
        self.send_header('Content-Type', ctype)
        self.send_header('Content-Length', str(len(data)))
        for k, v in headers:
            self.send_header(k, v)
        self.end_headers()
        self.wfile.write(data)

    def body(self):
        n = int(self.headers.get('Content-Length') or 0)
        return self.rfile.read(n).decode('utf-8', 'replace')

    def handle_any(self):
        request = self.body()
        path = self.path
        kind = path.strip('/').split('/')[0]
        if kind == 'redirect':
            port = self.server.server_address[1]
            return self.answer(301, 'moved', 'text/plain',
                               [('Location', 'http://127.0.0.2:%d/book/' % port)])
        if self.command == 'PROPFIND' and path.rstrip('/') == '/' + kind:
            return self.answer(207, MULTI.format(COLLECTION.format(path='/%s/' % kind, name=kind)))
        if kind == 'garbage':
            return self.answer(207, '<d:multistatus xmlns:d="DAV:"><d:response><<<>>> kaputt')
        if self.command == 'REPORT' and 'sync-collection' in request:
            members = [MEMBER.format(href='/%s/a.vcf' % kind, etag='1', data='')]
            if kind == 'many':
                members += [MEMBER.format(href='/elsewhere/%d.vcf' % i, etag=i, data='')
                            for i in range(50000)]
            return self.answer(207, MULTI.format(''.join(members)))
        if self.command == 'REPORT':
            if kind == 'wrongtype':
                return self.answer(200, '<html><body>Anmeldung</body></html>', 'text/html')
            note = 'x' * (10 * 1024 * 1024) if kind == 'huge' else ''
            data = '<c:address-data>%s</c:address-data>' % card('a', note)
            return self.answer(207, MULTI.format(MEMBER.format(href='/%s/a.vcf' % kind, etag='1', data=data)))
        return self.answer(405, 'nein', 'text/plain')

    do_PROPFIND = do_REPORT = do_GET = do_PUT = do_DELETE = handle_any


class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True


if __name__ == '__main__':
    server = Server(('127.0.0.1', 0), Handler)
    print(server.server_address[1], flush=True)
    server.serve_forever()
