"""A TCP port on 127.0.0.1 where a client's connect never completes: the
stand-in for a server or proxy that is out of reach without refusing (a
refusal ends a connect at once, a dropped SYN leaves it waiting).

The port listens with a backlog of 0 and its accept queue is filled with
connects of its own that are never accepted; the kernel then drops every
further SYN, so a client sits in its connecting stage until it gives up.

    with NeverAccepts() as port:            # or NeverAccepts(port=8471)
        ... connect to port.address ...
"""

import select
import socket

from served_content import HOST

MOST_FILLERS = 16  # a queue that takes more is not one this trick can fill
SETTLE = 0.2  # seconds a filler's connect is given before it counts as pending


class NeverAccepts:
    def __init__(self, port=0):
        self.port = port
        self._listener = None
        self._fillers = []

    @property
    def address(self):
        return f"{HOST}:{self.port}"

    def __enter__(self):
        self._listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self._listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self._listener.bind((HOST, self.port))
        self._listener.listen(0)
        self.port = self._listener.getsockname()[1]
        try:
            self._fill()
        except BaseException:
            self.__exit__()
            raise
        return self

    def __exit__(self, *exc):
        for sock in [*self._fillers, self._listener]:
            if sock:
                sock.close()
        self._fillers, self._listener = [], None

    def _fill(self):
        """Connects until one stays pending: the queue is then full, so the
        next client's connect hangs as that one does. How many fit depends on
        the kernel, hence the probing rather than a fixed count."""
        while len(self._fillers) < MOST_FILLERS:
            filler = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
            filler.setblocking(False)
            self._fillers.append(filler)
            filler.connect_ex((HOST, self.port))
            if not select.select([], [filler], [], SETTLE)[1]:
                return
        raise RuntimeError(f"{self.address} still accepted connects after {MOST_FILLERS}")
