"""PyMeasure's PrologixAdapter, a client written elsewhere, drives lorvane-sim through a short
frequency sweep and must get the exact readings.

Usage: pymeasure_sweep.py LORVANE_SIM
"""
import os
import select
import subprocess
import sys
import tempfile

PORT = 9
PATIENCE_S = 10  # upper bound for lorvane-sim to show its port; normally a few ms

EXPECTED = [
    "NZFN+15.915E+03,NTDN-89.964E+00,K+01.000000\r\n",
    "NZFN+7.9565E+03,NTDN-89.928E+00,K+02.000000\r\n",
    "NZFN+5.3033E+03,NTDN-89.892E+00,K+03.000000\r\n",
]


def sweep(adapter):
    # PyMeasure's set-up (++auto 0, ++eoi 1, ++eos 2) went first: its answers must not be
    # taken for readings.
    adapter.write("A1B1C2F1T3")
    adapter.write("TF1.000ENPF3.000ENSF1.000ENFR1.000ENW0")
    readings = []
    for _ in EXPECTED:
        readings.append(adapter.ask("EX"))
        adapter.write("W2")
    return readings


def main():
    try:
        from pymeasure.adapters import PrologixAdapter
    except ImportError as error:
        print(f"FAILED: cannot import pymeasure ({error}); install Debian's python3-pymeasure "
              "(scripts/bootstrap does)", file=sys.stderr)
        return 1
    failures = []
    with tempfile.TemporaryDirectory() as runtime:
        sim = subprocess.Popen(
            [sys.argv[1], "--port", str(PORT), "--delay", "0", "--device", "rlc"],
            stdout=subprocess.PIPE, text=True, env=dict(os.environ, XDG_RUNTIME_DIR=runtime))
        try:
            if not select.select([sim.stdout], [], [], PATIENCE_S)[0]:
                print("FAILED: lorvane-sim showed no port", file=sys.stderr)
                return 1
            print(sim.stdout.readline().strip())
            adapter = PrologixAdapter(f"{runtime}/lorvane/COM{PORT}", address=1,
                                      serial_timeout=0.2)
            readings = sweep(adapter)
            eoi = adapter.ask("++eoi")
            adapter.connection.close()
        finally:
            sim.terminate()
            sim.wait(timeout=PATIENCE_S)
    for point, (got, expected) in enumerate(zip(readings, EXPECTED)):
        if got != expected:
            failures.append(f"point {point}: got {got!r}, expected {expected!r}")
    if eoi != "1\r\n":
        failures.append(f"++eoi answered {eoi!r}, expected '1\\r\\n'")
    for failure in failures:
        print("FAILED: " + failure, file=sys.stderr)
    if not failures:
        print(f"{len(readings)} readings as expected")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
