#!/usr/bin/python3
"""setforge-cli simulate against peers written elsewhere: mbpoll (Modbus TCP), pymodbus over a
socat pty pair (Modbus RTU), python-can's LogReader and can-utils' log2asc (the trace), and
hostile masters. Only 127.0.0.1 and ptys are used.

Usage: peers_test.py SETFORGE_CLI DEMO_PROJECT_DIR
"""
import os
import random
import re
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import time
import unittest

CLI = None
DEMO = None


def wait_for(predicate, timeout=10.0, what="condition"):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(0.02)
    raise AssertionError("timed out waiting for " + what)


class Simulation:
    """One setforge-cli simulate process; its stderr goes to a file the test reads."""

    def __init__(self, workdir, project, *args):
        self.err_path = os.path.join(workdir, "sim-%d.err" % random.randrange(1 << 30))
        self.err = open(self.err_path, "w")
        self.proc = subprocess.Popen([CLI, "simulate", project] + list(args), stdout=subprocess.DEVNULL,
                                     stderr=self.err)

    def log(self):
        with open(self.err_path) as f:
            return f.read()

    def tcp_port(self):
        m = wait_for(lambda: re.search(r"listening on 127\.0\.0\.1:(\d+)", self.log()), what="the listener")
        return int(m.group(1))

    def wait_ready_rtu(self):
        wait_for(lambda: "serving RTU" in self.log(), what="the serial line")

    def stop(self, sig=signal.SIGTERM):
        if self.proc.poll() is None:
            self.proc.send_signal(sig)
        code = self.proc.wait(timeout=20)
        self.err.close()
        return code


def mbpoll(port, *args):
    run = subprocess.run(["mbpoll", "-m", "tcp", "-p", str(port), "-a", "1", "-0", "-1", "-q", "-o", "2"] +
                         list(args), capture_output=True, text=True, timeout=30)
    return run.returncode, run.stdout + run.stderr


def registers(output):
    return {int(m.group(1)): int(m.group(2)) for m in re.finditer(r"\[(\d+)\]:\s+(-?\d+)", output)}


def read_request(transaction, start, count, unit=1):
    return struct.pack(">HHHBBHH", transaction, 0, 6, unit, 3, start, count)


def read_response(sock, transaction):
    sock.settimeout(5)
    data = b""
    while len(data) < 7:
        chunk = sock.recv(4096)
        if not chunk:
            raise AssertionError("connection closed")
        data += chunk
    length = struct.unpack(">H", data[4:6])[0]
    while len(data) < 6 + length:
        data += sock.recv(4096)
    assert struct.unpack(">H", data[0:2])[0] == transaction
    return data[7:6 + length]


class PeersTest(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="setforge-sim-")
        self.values = os.path.join(self.tmp, "values.csv")
        with open(self.values, "w") as f:
            f.write("node,index,sub_index,value\n2,0x6041,0,0x0237\n2,0x6064,0,0x12345678\n"
                    "3,0x6041,0,1000\n3,0x6064,0,0xFFFFFFFE\n")

    def tearDown(self):
        shutil.rmtree(self.tmp, ignore_errors=True)

    def assert_clean(self, sim):
        log = sim.log()
        self.assertNotIn("AddressSanitizer", log)
        self.assertNotIn("runtime error", log)

    def test_mbpoll_reads_writes_and_gets_exception_02(self):
        trace = os.path.join(self.tmp, "out.log")
        sim = Simulation(self.tmp, DEMO, "--tcp", "127.0.0.1:0", "--values", self.values, "--trace-out", trace)
        try:
            port = sim.tcp_port()
            code, out = mbpoll(port, "-r", "100", "-c", "6", "127.0.0.1")
            self.assertEqual(code, 0, out)
            self.assertEqual(registers(out), {100: 0x0237, 101: 0x5678, 102: 0x1234, 103: 1000, 104: 65534, 105: 65535})
            code, out = mbpoll(port, "-r", "300", "127.0.0.1", "0x1234")
            self.assertEqual(code, 0, out)
            self.assertIn("Written 1 references", out)
            code, out = mbpoll(port, "-r", "500", "-c", "1", "127.0.0.1")
            self.assertIn("Illegal data address", out)
            code, out = mbpoll(port, "-r", "100", "127.0.0.1", "7")  # ReadOnly SDO row
            self.assertIn("Illegal data address", out)
            time.sleep(0.6)  # past node 3's guard time: remote requests in the trace
        finally:
            self.assertEqual(sim.stop(signal.SIGINT), 0, sim.log())
        self.assert_clean(sim)
        with open(trace) as f:
            text = f.read()
        self.assertRegex(text, r"\(\d+\.\d{6}\) sim 202#3412\n")
        self.assertIn("fc 03 reg 100 count 6: ok", sim.log())
        self.assertIn("fc 03 reg 500 count 1: exception 02", sim.log())
        self.assertIn("CAN (", sim.log())

        # python-can reads the trace, can-utils converts it.
        import can
        frames = list(can.LogReader(trace))
        self.assertTrue(any(m.arbitration_id == 0x202 and bytes(m.data) == b"\x34\x12" for m in frames))
        self.assertTrue(any(m.arbitration_id == 0x703 and m.is_remote_frame for m in frames))
        self.assertEqual(len(frames), len(text.splitlines()))
        asc = os.path.join(self.tmp, "out.asc")
        run = subprocess.run(["log2asc", "-I", trace, "-O", asc, "sim"], capture_output=True, text=True, timeout=30)
        self.assertEqual(run.returncode, 0, run.stderr)
        with open(asc) as f:
            converted = f.read()
        self.assertRegex(converted, r"202\s+Rx\s+d 2 34 12")

    def test_replay_fills_rpdo_and_emergency_registers(self):
        trace_in = os.path.join(self.tmp, "in.log")
        with open(trace_in, "w") as f:
            f.write("(1700000000.000000) can0 182#1122334455667788\n"
                    "(1700000000.050000) can0 182#0102030405060708\n"
                    "(1700000000.060000) can0 182#FFFF\n"
                    "(1700000000.100000) can0 082#3081110A0B0C0D0E\n")
        trace_out = os.path.join(self.tmp, "out.log")
        sim = Simulation(self.tmp, DEMO, "--tcp", "127.0.0.1:0", "--trace-in", trace_in, "--trace-out", trace_out,
                         "--quiet")
        try:
            wait_for(lambda: os.path.getsize(sim.err_path) >= 0 and sim.proc.poll() is None, what="start")
            port = wait_for(lambda: self._connectable_port(sim), what="the listener")
            code, out = mbpoll(port, "-r", "200", "-c", "4", "127.0.0.1")
            self.assertEqual(code, 0, out)
            self.assertEqual(registers(out), {200: 0x0201, 201: 0x0403, 202: 0x0605, 203: 0x0807})
            code, out = mbpoll(port, "-r", "400", "-c", "2", "127.0.0.1")
            self.assertEqual(code, 0, out)
            self.assertEqual(registers(out), {400: 0x0A0B, 401: 0x0C0D})
        finally:
            self.assertEqual(sim.stop(), 0, sim.log())
        with open(trace_out) as f:
            text = f.read()
        self.assertTrue(text.startswith("(1700000000.000000) sim 182#1122334455667788\n"), text[:200])
        self.assertIn("# (1700000000.060000) RPDO 0x182 has 2 bytes, its mapping needs 8; registers unchanged\n", text)
        # SYNC every 100 ms from the trace's first time stamp.
        self.assertIn("(1700000000.100000) sim 080#\n", text)

    def _connectable_port(self, sim):
        # --quiet prints nothing; find the port the process listens on through /proc.
        inodes = set()
        fd_dir = "/proc/%d/fd" % sim.proc.pid
        try:
            for fd in os.listdir(fd_dir):
                target = os.readlink(os.path.join(fd_dir, fd))
                if target.startswith("socket:["):
                    inodes.add(target[8:-1])
        except OSError:
            return None
        with open("/proc/net/tcp") as f:
            for line in f.readlines()[1:]:
                fields = line.split()
                if fields[3] == "0A" and fields[9] in inodes:
                    return int(fields[1].split(":")[1], 16)
        return None

    def _demo_copy(self, name, baud, parity):
        project = os.path.join(self.tmp, name)
        shutil.copytree(DEMO, project)
        path = os.path.join(project, "ParGen.xml")
        with open(path) as f:
            text = f.read()
        text = re.sub(r"<M_baud>\d+</M_baud>", baud, text)
        text = re.sub(r"<M_parity>\d+</M_parity>", parity, text)
        with open(path, "w") as f:
            f.write(text)
        return project

    def test_pymodbus_master_over_rtu_at_the_project_settings(self):
        # Copies of Demo at 9600 baud: the line's defaults must come from the project. pyserial
        # cannot set parity on a pty twice (tcsetattr answers EINVAL), so the master talks to the
        # no-parity copy; the even-parity copy shows the server takes that setting too.
        project = self._demo_copy("Demo", "<M_baud>3</M_baud>", "<M_parity>0</M_parity>")
        even = self._demo_copy("DemoEven", "<M_baud>3</M_baud>", "<M_parity>1</M_parity>")
        a = os.path.join(self.tmp, "ttyA")
        b = os.path.join(self.tmp, "ttyB")
        socat = subprocess.Popen(["socat", "pty,raw,echo=0,link=" + a, "pty,raw,echo=0,link=" + b],
                                 stderr=subprocess.DEVNULL)
        sim = None
        try:
            wait_for(lambda: os.path.exists(a) and os.path.exists(b), what="the pty pair")
            probe = Simulation(self.tmp, even, "--rtu", a, "--duration", "0")
            self.assertEqual(probe.proc.wait(timeout=20), 0, probe.log())
            probe.stop()
            self.assertIn("serving RTU on %s 9600 E 1 unit 1" % a, probe.log())
            sim = Simulation(self.tmp, project, "--rtu", a, "--values", self.values)
            sim.wait_ready_rtu()
            self.assertIn("serving RTU on %s 9600 N 1 unit 1" % a, sim.log())
            from pymodbus.client import ModbusSerialClient
            client = ModbusSerialClient(port=b, baudrate=9600, parity="N", stopbits=1, bytesize=8, timeout=1)
            self.assertTrue(client.connect())
            result = client.read_holding_registers(100, 6, slave=1)
            self.assertFalse(result.isError(), result)
            self.assertEqual(result.registers, [0x0237, 0x5678, 0x1234, 1000, 0xFFFE, 0xFFFF])
            result = client.read_holding_registers(500, 1, slave=1)
            self.assertTrue(result.isError())
            self.assertEqual(result.exception_code, 2)
            result = client.write_register(300, 0xBEEF, slave=1)
            self.assertFalse(result.isError(), result)
            client.close()

            # Garbage on the line, then a well-formed read still answers.
            rng = random.Random(26)
            with open(b, "wb", buffering=0) as line:
                for _ in range(50):
                    line.write(bytes(rng.randrange(256) for _ in range(rng.randrange(1, 80))))
                    time.sleep(0.005)
            time.sleep(0.5)
            client = ModbusSerialClient(port=b, baudrate=9600, parity="N", stopbits=1, bytesize=8, timeout=1)
            client.connect()
            answered = None
            for _ in range(5):
                result = client.read_holding_registers(100, 1, slave=1)
                if not result.isError():
                    answered = result.registers
                    break
                time.sleep(0.2)
            client.close()
            self.assertEqual(answered, [0x0237])
        finally:
            if sim:
                self.assertEqual(sim.stop(), 0, sim.log())
                self.assert_clean(sim)
            socat.terminate()
            socat.wait(timeout=10)
        self.assertIn("modbus rtu unit 1 fc 06 reg 300 value 48879: ok", sim.log())

    def test_hostile_tcp_masters_then_a_read_still_answers(self):
        sim = Simulation(self.tmp, DEMO, "--tcp", "127.0.0.1:0", "--values", self.values, "--quiet")
        rng = random.Random(2026)
        try:
            port = wait_for(lambda: self._connectable_port(sim), what="the listener")
            frames = []
            for i in range(10000):
                kind = i % 5
                if kind == 0:  # random bytes
                    frames.append(bytes(rng.randrange(256) for _ in range(rng.randrange(0, 40))))
                elif kind == 1:  # a read cut short
                    full = read_request(i & 0xFFFF, rng.randrange(65536), rng.randrange(200))
                    frames.append(full[:rng.randrange(1, len(full))])
                elif kind == 2:  # oversized: a length beyond any PDU, or 300 bytes of PDU
                    pdu = bytes(rng.randrange(256) for _ in range(300))
                    frames.append(struct.pack(">HHHB", i & 0xFFFF, 0, rng.choice([len(pdu) + 1, 0xFFFF]), 1) + pdu)
                elif kind == 3:  # a good header with a random PDU and unit
                    pdu = bytes(rng.randrange(256) for _ in range(rng.randrange(1, 60)))
                    frames.append(struct.pack(">HHHB", i & 0xFFFF, 0, len(pdu) + 1, rng.randrange(256)) + pdu)
                else:  # well formed, any function and address
                    frames.append(struct.pack(">HHHBBHH", i & 0xFFFF, 0, 6, 1, rng.randrange(1, 25),
                                              rng.randrange(65536), rng.randrange(65536)))
            # Frames that may break the stream each get a connection of their own; the ones with a
            # sound header share connections, and each of them must get exactly one answer.
            def exchange(payload):
                with socket.create_connection(("127.0.0.1", port), timeout=5) as s:
                    try:
                        s.sendall(payload)
                        s.shutdown(socket.SHUT_WR)
                    except (ConnectionResetError, BrokenPipeError):
                        return b""
                    answer = b""
                    try:
                        while True:
                            chunk = s.recv(65536)
                            if not chunk:
                                return answer
                            answer += chunk
                    except ConnectionResetError:
                        return answer

            sound = []
            for i, frame in enumerate(frames):
                if i % 5 < 3:
                    exchange(frame)
                else:
                    sound.append(frame)
            answered = 0
            for batch in range(0, len(sound), 50):
                answer = exchange(b"".join(sound[batch:batch + 50]))
                while len(answer) >= 6:
                    answer = answer[6 + struct.unpack(">H", answer[4:6])[0]:]
                    answered += 1
            self.assertEqual(answered, len(sound))
            self.assertIsNone(sim.proc.poll(), "the simulation ended under hostile masters")
            with socket.create_connection(("127.0.0.1", port), timeout=5) as s:
                s.sendall(read_request(0x4242, 100, 2))
                self.assertEqual(read_response(s, 0x4242), bytes([3, 4, 0x02, 0x37, 0x56, 0x78]))
                # Several clients at once: a second connection is served while the first stays open.
                with socket.create_connection(("127.0.0.1", port), timeout=5) as t:
                    t.sendall(read_request(7, 500, 1))
                    self.assertEqual(read_response(t, 7), bytes([0x83, 2]))
                s.sendall(read_request(8, 103, 1, unit=9))
                self.assertEqual(read_response(s, 8), bytes([0x83, 0x0B]))
        finally:
            self.assertEqual(sim.stop(), 0, sim.log())
        self.assert_clean(sim)


if __name__ == "__main__":
    CLI = os.path.abspath(sys.argv.pop(1))
    DEMO = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
