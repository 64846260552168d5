#!/usr/bin/python3
"""An SMTP server for the tests on 127.0.0.1 (aiosmtpd). Every accepted message is stored as N.eml
(the bytes after DATA, dot-stuffing undone) beside N.json (HELO name, envelope sender and
recipients, the addresses asked with VRFY), N counting from 1. Flags change the answers:
  refuse-vrfy   VRFY answers 550
  refuse-rcpt   RCPT answers 550
  refuse-data   the message is refused with 554
  slow-data     the answer to the message comes after 30 s
usage: smtp_peer.py PORT FOLDER [FLAG...]"""

import asyncio
import json
import os
import sys


class StoringHandler:
    def __init__(self, folder, flags):
        self.folder = folder
        self.flags = set(flags)
        self.count = 0
        self.verified = []

    @classmethod
    def from_cli(cls, parser, *args):
        return cls(args[0], args[1:])

    async def handle_VRFY(self, server, session, envelope, address):
        self.verified.append(address)
        if "refuse-vrfy" in self.flags:
            return "550 No such user here"
        return "252 Cannot VRFY user, but will accept message and attempt delivery"

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if "refuse-rcpt" in self.flags:
            return "550 5.1.1 Recipient address rejected"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        if "slow-data" in self.flags:
            await asyncio.sleep(30)
        if "refuse-data" in self.flags:
            return "554 Message refused"
        self.count += 1
        base = os.path.join(self.folder, str(self.count))
        with open(base + ".json", "w") as f:
            json.dump({"helo": session.host_name, "mail_from": envelope.mail_from,
                       "rcpt_tos": envelope.rcpt_tos, "vrfy": self.verified}, f)
        with open(base + ".tmp", "wb") as f:
            f.write(envelope.original_content)
        os.rename(base + ".tmp", base + ".eml")
        return "250 Message accepted for delivery"


if __name__ == "__main__":
    from aiosmtpd.main import main
    port, folder, flags = sys.argv[1], sys.argv[2], sys.argv[3:]
    main(["-n", "-l", "127.0.0.1:" + port, "-c", "smtp_peer.StoringHandler", folder, *flags])
