"""Reads a halvo-wsx NetCDF export with xarray and checks it against the series and components
tables of the same data: python3 check_netcdf.py OUT.nc SERIES.csv COMPONENTS.csv RECORD"""
import csv
import datetime
import math
import sys

import numpy
import xarray


def fail(message):
    print("check_netcdf: " + message)
    sys.exit(1)


def main():
    nc_path, series_path, components_path, record = sys.argv[1:5]
    record = int(record)
    ds = xarray.open_dataset(nc_path)
    with open(series_path, newline="") as f:
        series = list(csv.DictReader(f))
    with open(components_path, newline="") as f:
        components = list(csv.DictReader(f))

    if ds.attrs.get("Conventions") != "CF-1.8":
        fail("Conventions is %r" % ds.attrs.get("Conventions"))
    if ds.sizes["time"] != len(series) or ds.sizes["position"] != 4 or ds.sizes["wavelength"] != 2048:
        fail("dimensions %r against %d series rows" % (dict(ds.sizes), len(series)))

    times = ds["time"].values.astype("datetime64[s]")
    for k, row in enumerate(series):
        stamp = numpy.datetime64(datetime.datetime.strptime(row["time"], "%Y-%m-%dT%H:%M:%SZ"))
        if times[k] != stamp:
            fail("time %d is %s, series says %s" % (k, times[k], stamp))
    if not (numpy.diff(times.astype("int64")) > 0).all():
        fail("time axis not increasing")

    flags = ds["qc_flags"].values.astype(int)
    expected = [int(row["flags"]) for row in series]
    if list(flags) != expected:
        fail("flags %s against series %s" % (list(flags), expected))
    if list(ds["qc_flags"].attrs["flag_masks"]) != [1, 2, 4, 8, 16, 32]:
        fail("flag_masks %r" % ds["qc_flags"].attrs["flag_masks"])
    if len(ds["qc_flags"].attrs["flag_meanings"].split()) != 6:
        fail("flag_meanings %r" % ds["qc_flags"].attrs["flag_meanings"])

    for k, row in enumerate(series):
        for column, name in (("PAR_global[W/m2]", "par_global"),
                             ("PAR_direct_normal[W/m2]", "par_direct_normal")):
            value = float(ds[name].values[k])
            if row[column] == "":
                if not math.isnan(value):
                    fail("%s %d is %r where the series has none" % (name, k, value))
            elif abs(value - float(row[column])) > 1e-6 * abs(float(row[column])) + 1e-9:
                fail("%s %d is %r, series says %s" % (name, k, value, row[column]))

    wavelength = ds["wavelength"].values
    names = ("global", "diffuse", "direct_horizontal", "direct_normal")
    for i, row in enumerate(components):
        if abs(wavelength[i] - float(row["wavelength[nm]"])) > 1e-3:
            fail("wavelength %d is %r" % (i, wavelength[i]))
        for name in names:
            value = float(ds[name + "_spectral_irradiance"].values[record, i])
            text = row[name + "[W/m2/um]"]
            if text == "":
                if not math.isnan(value):
                    fail("%s pixel %d is %r where components has none" % (name, i, value))
            elif abs(value - float(text)) > 1e-6 * abs(float(text)) + 1e-6:
                fail("%s pixel %d is %r, components says %s" % (name, i, value, text))
    print("check_netcdf: %d records, %d pixels agree" % (len(series), len(components)))


main()
