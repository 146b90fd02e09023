#!/usr/bin/python3
"""Reads the batch runner's VTK files back through VTK's own readers and compares every point
and field vector with the model file the same run wrote. Exit 77 (skipped) without VTK."""
import math
import os
import subprocess
import sys
import tempfile

try:
    import vtk
except ImportError:
    print("python3-vtk9 is not installed")
    sys.exit(77)

batch, data = sys.argv[1], sys.argv[2]


def rows_of(model_csv, heading):
    """The data rows of one point-set section of a model file, as floats."""
    lines = open(model_csv, encoding="cp932", newline="").read().split("\r\n")
    start = lines.index('"%s"' % heading)
    count = int(lines[start + 2].split(",")[1])  # after the heading and the settings line
    first = start + 5
    return [[float(x.strip('"')) for x in line.split(",")] for line in lines[first:first + count + 1]]


def read(path, reader_class):
    reader = reader_class()
    reader.SetFileName(path)
    reader.Update()
    return reader.GetOutput()


def close(a, b):
    return abs(a - b) <= 1e-13 * max(1.0, abs(b))


with tempfile.TemporaryDirectory() as tmp:
    def run(*args):
        subprocess.run([batch, *args], check=True)
    grid = os.path.join(tmp, "grid.csv")
    run("grid", "rect", os.path.join(data, "model_small.csv"), "-o", grid, "--magnet", "2",
        "--divx", "4", "--divy", "3", "--half-x", "0")
    run("grid", "sector", grid, "-o", grid, "--divr", "3", "--divt", "6", "--ri", "5", "--ro", "12",
        "--sweep", "60")
    out = os.path.join(tmp, "out.csv")
    run("run", grid, "-o", out, "--vtk", os.path.join(tmp, "rect.vts"))
    run("run", grid, "--vtk", os.path.join(tmp, "sect.vtu"))

    failures = 0
    for name, reader, heading, cells in (
            ("rect.vts", vtk.vtkXMLStructuredGridReader, "四角型磁界分布計算結果", 12),
            ("sect.vtu", vtk.vtkXMLUnstructuredGridReader, "扇型計算結果", 18)):
        grid_out = read(os.path.join(tmp, name), reader)
        rows = rows_of(out, heading)
        field = grid_out.GetPointData().GetArray("H")
        if grid_out.GetNumberOfPoints() != len(rows) or grid_out.GetNumberOfCells() != cells:
            print(name, "has", grid_out.GetNumberOfPoints(), "points and",
                  grid_out.GetNumberOfCells(), "cells")
            failures += 1
            continue
        own = []
        for k, row in enumerate(rows):
            if heading == "扇型計算結果":
                # Own cylindrical coordinates, placed through the grid's magnet: the file's points
                # and VTK's differ by that magnet's rigid motion, which keeps every distance.
                r, theta, z = row[1], math.radians(row[2]), row[3]
                own.append((r * math.cos(theta), r * math.sin(theta), z))
                expected = tuple(row[4:7])
                actual = field.GetTuple3(k)
            else:
                expected = tuple(row[1:7])
                actual = grid_out.GetPoint(k) + field.GetTuple3(k)
            if not all(close(a, b) for a, b in zip(actual, expected)):
                print(name, "point", k, actual, "!=", expected)
                failures += 1
        for k in range(len(own)):
            for m in (0, len(own) // 2):
                placed = math.dist(grid_out.GetPoint(k), grid_out.GetPoint(m))
                if abs(placed - math.dist(own[k], own[m])) > 1e-12 * max(1.0, placed):
                    print(name, "distance", k, m, placed, "!=", math.dist(own[k], own[m]))
                    failures += 1
    print("VTK read back:", "ok" if failures == 0 else "%d differences" % failures)
    sys.exit(1 if failures else 0)
