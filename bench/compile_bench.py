#!/usr/bin/env python3
"""Compile benchmark: a whole `brenvale-cli compile` process on a large configuration against a
process that only parses the same ten table files with pugixml and touches every attribute,
run alternately in one session. The target is a ratio of at most 1.5.

The configuration fits both compiled forms: 100 receive and 100 transmit frames, 344 SDO read
and 1536 SDO write objects, 10 TPDOs, 10 RPDOs, 32 guarded nodes, the SDO client and
node-guarding frames and a full ParGen.xml, in the files the table editors write."""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

COMMENT = "<!--SW_VERSION = 2.001-->"


def table(root, rows):
    out = ["<%s>" % root]
    for row in rows:
        out.append("<row" + "".join(' %s="%s"' % (k, v) for k, v in row) + "/>")
    out.append("</%s>%s" % (root, COMMENT))
    return "".join(out)


def write_configuration(folder):
    os.makedirs(os.path.join(folder, "bin"), exist_ok=True)
    settings = [("Select_Device", "Device With Ethernet Port"), ("BaudRateCAN", "5"), ("CANType", "1"),
                ("TimeOut_Data", "10"), ("Peer_to_Peer", "0"), ("IDDev_J1939", "128"), ("Enable_Filter_FECA", "1"),
                ("Filter_FECA_Time", "50"), ("IDDev_CANopen", "1"), ("Baud_CANopen", "5"), ("Set_Ope_CANopen", "1"),
                ("Net_Start_CANopen", "1"), ("Delay_CANopen", "5"), ("Sent_TPDO", "1"), ("Sent_TPDO_Time", "1000"),
                ("NodeGuard", "1"), ("Send_NG_J1939", "1"), ("BG_Send_Every", "1000"), ("EN_SDO_Client", "1"),
                ("TO_SDO_Client", "10000"), ("Ethernet_IP1", "192"), ("Ethernet_IP2", "168"), ("Ethernet_IP3", "2"),
                ("Ethernet_IP4", "205"), ("Ethernet_SM1", "255"), ("Ethernet_SM2", "255"), ("Ethernet_SM3", "255"),
                ("Ethernet_SM4", "0"), ("Ethernet_GAT1", "192"), ("Ethernet_GAT2", "168"), ("Ethernet_GAT3", "2"),
                ("Ethernet_GAT4", "1"), ("Ethernet_EN_GAT", "1")]
    files = {
        "ParGen.xml": "<Par_Gen>" + "".join("<%s>%s</%s>" % (k, v, k) for k, v in settings) + "</Par_Gen>" + COMMENT,
        "RCobDef.xml": table("COBID", [
            [("DP", "0"), ("PGN", str(65000 + i)), ("ID_DEV", str(i % 254)), ("MultiFrame", "Y" if i % 10 == 0 else "N"),
             ("StartByte", "0"), ("NByte", "12"), ("Delete", "Y" if i % 7 == 0 else "N"), ("OnRequest", "N"),
             ("OnReq_Time", "1000"), ("Mnemonic", "Receive frame %d" % (i + 1))] for i in range(100)]),
        "TCobDef.xml": table("COBID", [
            [("Priority", "6"), ("DP", "0"), ("PGN", str(65280 + i)), ("ID_DEV", "128"), ("NumByte", "8"),
             ("OnRequest", "N"), ("DataChange", "Y"), ("OnTimer", "N"), ("OnTimer_Time", "1000"),
             ("Mnemonic", "Transmit frame %d" % (i + 1))] for i in range(100)]),
        "RInfoCob.xml": table("RInfoCob", [
            [("NrPdo", str(i % 100 + 1)), ("Index", "0x%04X" % (0x2000 + i)), ("SubIndex", str(i % 4)),
             ("Dimension", str(i % 3)), ("B1", "1"), ("B2", "2"), ("B3", "3"), ("B4", "4")] for i in range(344)]),
        "TInfoCob.xml": table("DefineSDOServerTraJ1939", [
            [("NrPdo", str(i % 100 + 1)), ("Index", "0x%04X" % (0x3000 + i)), ("SubIndex", str(i % 4)),
             ("Dimension", str(i % 3)), ("B1", "8"), ("B2", "7"), ("B3", "6"), ("B4", "5"), ("Send_SDO", str(i % 2))]
            for i in range(1536)]),
        "TpdoJ1939.xml": table("PDOJ1939", [
            [("COB-ID", "0x%X" % (0x181 + i)), ("Dimension", "8"), ("Offset", "1"), ("Frame_J1939", str(i + 1)),
             ("DataChange", "Y"), ("OnCAN", "N"), ("OnTimer", "N"), ("SendTimer", "100"), ("Mnemonic", "TPDO %d" % (i + 1))]
            for i in range(10)]),
        "pdoJ1939.xml": table("Define_RPDO", [
            [("COB-ID", "0x%X" % (0x201 + i)), ("Dimension", "8"), ("Offset", "1"), ("Frame_J1939", str(i + 1)),
             ("Mnemonic", "RPDO %d" % (i + 1))] for i in range(10)]),
        "NodeGuard.xml": table("Node_Guarding", [
            [("NodeID", str(i + 2)), ("GuardTime", "500"), ("LifeTimeFactor", "3"), ("Mnemonic", "Node %d" % (i + 2))]
            for i in range(32)]),
        "NG_J1939_Frame.xml": table("NG_J1939_Frames", [
            [("Priority", "6"), ("DataPage", "0"), ("PGN", "0xFF2%d" % i), ("SA", "0x80"), ("Mnemonic", "")] for i in range(5)]),
        "SDOClient.xml": table("J1939_Frames_SDOClient", [
            [("Priority", "6" if i in (1, 4) else "0"), ("DataPage", "0"), ("PGN", "0xFF1%d" % i), ("SA", "0x21"),
             ("Mnemonic", "")] for i in range(5)]),
    }
    for name, text in files.items():
        with open(os.path.join(folder, name), "w") as f:
            f.write(text)


def timed(command):
    """Wall-clock and CPU (user + system) seconds of one process."""
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    _, status, usage = os.wait4(child.pid, 0)
    elapsed = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    err = child.stderr.read()
    child.stderr.close()
    if child.returncode != 0:
        sys.exit("%s failed: %s" % (" ".join(command), err.decode()))
    return elapsed, usage.ru_utime + usage.ru_stime


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cli", required=True, help="path of brenvale-cli")
    parser.add_argument("--baseline", required=True, help="path of parse_baseline")
    parser.add_argument("--runs", type=int, default=40)
    parser.add_argument("--dir", help="folder for the configuration (default: a temporary folder)")
    args = parser.parse_args()

    with tempfile.TemporaryDirectory(prefix="brenvale-bench-", dir=args.dir) as folder:
        write_configuration(folder)
        compile_cmd = [args.cli, "compile", folder]
        parse_cmd = [args.baseline, folder]
        for _ in range(3):  # warm the page cache and the loader
            timed(compile_cmd)
            timed(parse_cmd)
        compile_runs, parse_runs = [], []
        for _ in range(args.runs):  # alternate so that both see the same machine state
            compile_runs.append(timed(compile_cmd))
            parse_runs.append(timed(parse_cmd))

    def median(runs, k):
        return statistics.median(r[k] for r in runs)

    print("configuration folder:    %s" % (args.dir or tempfile.gettempdir()))
    print("runs per process:        %d" % args.runs)
    print("                         wall median   CPU median (user + system)")
    for name, runs in (("brenvale-cli compile", compile_runs), ("parse-only baseline", parse_runs)):
        print("%-24s %8.2f ms   %8.2f ms" % (name + ":", median(runs, 0) * 1e3, median(runs, 1) * 1e3))
    wall = median(compile_runs, 0) / median(parse_runs, 0)
    cpu = median(compile_runs, 1) / median(parse_runs, 1)
    print("ratio compile/baseline:  wall %.2f, CPU %.2f (target <= 1.50 on wall time: %s)"
          % (wall, cpu, "met" if wall <= 1.5 else "NOT met"))
    return 0 if wall <= 1.5 else 1


if __name__ == "__main__":
    sys.exit(main())
