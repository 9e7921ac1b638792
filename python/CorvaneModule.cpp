// The compiled half of the Python package `corvane` (corvane._corvane): each function
// runs its job without the GIL and hands back plain values (texts, numbers, one numpy
// array, JSON documents) that the package's Python half dresses as objects.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "lasfile/LasChecker.h"
#include "lasfile/LasReportFormat.h"
#include "platform/ProgramInfo.h"
#include "python/Conversions.h"
#include "python/LasArrays.h"
#include "python/ModuleError.h"
#include "python/PythonProgress.h"

namespace py = pybind11;

namespace corvane::python {
namespace {

// The file's bytes as text: UTF-8 when they are, else each byte its own code point, as
// the check's JSON reports take them.
py::str Text(std::string_view bytes) {
  PyObject* text = PyUnicode_DecodeUTF8(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), nullptr);
  if (text == nullptr) {
    PyErr_Clear();
    text = PyUnicode_DecodeLatin1(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), nullptr);
  }
  if (text == nullptr) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(text);
}

std::string CheckDocument(const CLasReport& report, bool strict) {
  CLasReportJson json(strict);
  std::string document = json.Begin();
  document += json.Add(report);
  document += json.End();
  return document;
}

py::dict HeaderOf(const CLasHeader& header) {
  py::list sections;
  for (const CHeaderSection& section : header.sections) {
    py::list items;
    for (const CHeaderEntry& entry : section.entries)
      items.append(py::make_tuple(Text(entry.mnemonic), Text(entry.unit), Text(entry.value),
                                  Text(entry.description), entry.lineNumber));
    py::list text;
    for (const std::string& line : section.text) text.append(Text(line));
    py::dict entry;
    entry["letter"] = Text(std::string_view(&section.letter, 1));
    entry["title"] = Text(section.title);
    entry["line"] = section.lineNumber;
    entry["items"] = items;
    entry["text"] = text;
    sections.append(entry);
  }
  py::dict out;
  out["sections"] = sections;
  out["null"] = header.nullValue ? py::object(py::float_(*header.nullValue)) : py::object(py::none());
  return out;
}

// The values as a numpy array that owns their mapping.
py::array ArrayOf(CLasArrays& arrays) {
  const auto columns = static_cast<py::ssize_t>(arrays.columns.size());
  const auto rows = static_cast<py::ssize_t>(arrays.rows);
  auto* mapping = new CMappedDoubles::CMapping(arrays.values.Release());
  const py::capsule owner(mapping, [](void* pointer) {
    auto* held = static_cast<CMappedDoubles::CMapping*>(pointer);
    CMappedDoubles::Unmap(held->data, held->bytes);
    delete held;
  });
  return py::array_t<double>({rows, columns},
                             {columns * py::ssize_t(sizeof(double)), py::ssize_t(sizeof(double))},
                             mapping->data, owner);
}

py::dict Read(const std::string& path, std::optional<std::vector<std::string>> curves,
              std::optional<std::pair<double, double>> depth, bool check, py::object cancel) {
  CPythonProgress progress(std::move(cancel));
  CLasArraysRequest request;
  request.curves = std::move(curves);
  request.depth = depth;
  request.check = check;
  std::optional<CLasArrays> arrays;
  try {
    const py::gil_scoped_release released;
    arrays.emplace(ReadLasArrays(path, request, progress));
  } catch (const CModuleError&) {
    progress.RaisePending();
    throw;
  }
  progress.RaisePending();
  py::dict out = HeaderOf(arrays->header);
  py::list columns;
  for (const std::size_t column : arrays->columns) columns.append(column);
  out["columns"] = columns;
  out["data"] = ArrayOf(*arrays);
  out["check"] =
      arrays->report ? py::object(py::str(CheckDocument(*arrays->report, false))) : py::object(py::none());
  return out;
}

std::string Check(const std::string& path, bool strict, py::object cancel) {
  CPythonProgress progress(std::move(cancel));
  std::optional<CLasReport> report;
  {
    const py::gil_scoped_release released;
    ProbeLasFile(path);
    report.emplace(CheckLasFile(path, progress));
  }
  progress.RaisePending();
  if (report->cancelled) throw CModuleError(ErrorKind::Cancelled, "Check cancelled.", path, "cancelled");
  return CheckDocument(*report, strict);
}

// The Python side passes a line number, -1 for "auto", -2 for none given (the line the
// configuration stores, else "auto", as the command line takes it).
std::optional<cli::CFirstDataLine> FirstDataLine(int line) {
  if (line == -2) return std::nullopt;
  cli::CFirstDataLine first;
  first.detect = line < 0;
  first.index = line < 0 ? 0 : line;
  return first;
}

py::dict Init(const std::string& ascii, const std::string& config, const std::string& las, int firstDataLine,
              bool overwrite) {
  CInitRequest request;
  request.ascii = ascii;
  request.config = config;
  request.las = las;
  if (firstDataLine >= 0) request.firstDataLine = firstDataLine;
  request.overwrite = overwrite;
  CInitResult result;
  {
    const py::gil_scoped_release released;
    result = InitConfiguration(request);
  }
  py::dict made;
  made["las"] = py::bytes(result.las);
  py::list account;
  for (const std::string& line : result.account) account.append(Text(line));
  made["account"] = account;
  return made;
}

std::string Convert(const std::string& ascii, const std::string& config, const std::string& las,
                    int firstDataLine, bool inverse, py::object cancel) {
  CConvertRequest request;
  request.ascii = ascii;
  request.config = config;
  request.las = las;
  request.firstDataLine = FirstDataLine(firstDataLine);
  request.inverse = inverse;
  CPythonProgress progress(std::move(cancel));
  std::string report;
  try {
    const py::gil_scoped_release released;
    report = ConvertFile(request, progress);
  } catch (const CModuleError&) {
    progress.RaisePending();
    throw;
  }
  progress.RaisePending();
  return report;
}

std::string Batch(const std::vector<std::string>& inputs, const std::string& config,
                  const std::string& outDir, const std::string& reportPath, int firstDataLine, bool inverse,
                  bool check, bool strict, bool overwrite, bool recursive, int jobs, py::object cancel) {
  CBatchRequest request;
  request.inputs = inputs;
  request.config = config;
  request.outDir = outDir;
  request.reportPath = reportPath;
  request.firstDataLine = FirstDataLine(firstDataLine);
  request.inverse = inverse;
  request.check = check;
  request.strict = strict;
  request.overwrite = overwrite;
  request.recursive = recursive;
  request.jobs = jobs;
  CPythonProgress progress(std::move(cancel));
  std::string report;
  try {
    const py::gil_scoped_release released;
    report = RunBatch(request, [&progress] { return progress.PollCancel(); });
  } catch (const CModuleError&) {
    progress.RaisePending();
    throw;
  }
  progress.RaisePending();
  return report;
}

const char* ErrorClassName(ErrorKind kind) {
  switch (kind) {
    case ErrorKind::File:
      return "FileError";
    case ErrorKind::Format:
      return "FormatError";
    case ErrorKind::Curve:
      return "CurveNotFound";
    case ErrorKind::Configuration:
      return "ConfigurationError";
    case ErrorKind::Conversion:
      return "ConversionError";
    case ErrorKind::Batch:
      return "BatchError";
    case ErrorKind::Cancelled:
      return "Cancelled";
  }
  return "Error";
}

}  // namespace
}  // namespace corvane::python

PYBIND11_MODULE(_corvane, module) {
  using namespace corvane::python;
  module.doc() = "The compiled half of corvane; use the functions of the corvane package.";
  module.attr("version") = corvane::kVersion;
  module.def("read", &Read, py::arg("path"), py::arg("curves"), py::arg("depth"), py::arg("check"),
             py::arg("cancel"));
  module.def("check", &Check, py::arg("path"), py::arg("strict"), py::arg("cancel"));
  module.def("convert", &Convert, py::arg("ascii"), py::arg("config"), py::arg("las"),
             py::arg("first_data_line"), py::arg("inverse"), py::arg("cancel"));
  module.def("init", &Init, py::arg("ascii"), py::arg("config"), py::arg("las"), py::arg("first_data_line"),
             py::arg("overwrite"));
  module.def("batch", &Batch, py::arg("inputs"), py::arg("config"), py::arg("out_dir"), py::arg("report"),
             py::arg("first_data_line"), py::arg("inverse"), py::arg("check"), py::arg("strict"),
             py::arg("overwrite"), py::arg("recursive"), py::arg("jobs"), py::arg("cancel"));
  // pybind11 takes the translator as a function of an exception_ptr by value.
  py::register_exception_translator(
      [](std::exception_ptr pointer) {  // NOLINT(performance-unnecessary-value-param)
        try {
          if (pointer) std::rethrow_exception(pointer);
        } catch (const CModuleError& error) {
          const py::object type = py::module_::import("corvane").attr(ErrorClassName(error.Kind()));
          // The path as Python names files (os.fsdecode), so that it compares with the caller's.
          const py::object path = py::reinterpret_steal<py::object>(PyUnicode_DecodeFSDefaultAndSize(
              error.Path().data(), static_cast<Py_ssize_t>(error.Path().size())));
          if (!path) throw py::error_already_set();
          const py::object value = type(Text(error.what()), path, Text(error.Reason()));
          PyErr_SetObject(type.ptr(), value.ptr());
        }
      });
}
