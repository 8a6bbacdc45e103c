// The Python module's native part: one run of controls as `citysize run` makes it (the same
// parser, the same Form set-up, the same steps), and its picture in every format.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <Python.h>

#include <atomic>
#include <chrono>
#include <sstream>

#include "app/Cli.h"
#include "app/Session.h"
#include "core/Form.h"
#include "stats/TailFit.h"
#include "data/PlacesCsv.h"
#include "python/PictureBytes.h"

namespace py = pybind11;

namespace {

// citysize.Error, made in the module's init.
PyObject* errorType = nullptr;

[[noreturn]] void Fail(const std::string& message) {
    PyErr_SetString(errorType, message.c_str());
    throw py::error_already_set();
}

// The command line's message without its "citysize: " and final newline.
std::string Message(std::string text) {
    while (!text.empty() && text.back() == '\n') text.pop_back();
    if (text.rfind("citysize: ", 0) == 0) text.erase(0, 10);
    return text;
}

struct RunOutput {
    std::vector<std::string> tables;  // each printed table as --csv writes it
    std::string text;                  // the window's text
    std::shared_ptr<PictureBytes> picture;
    std::string places;                // the table as understood, as --places writes it
    std::string title;                 // the data and its span
    std::vector<std::string> warnings;
};

// A Python exception raised while the fit ran (Ctrl-C), kept until the GIL is back.
struct Pending {
    PyObject *type = nullptr, *value = nullptr, *trace = nullptr;
    bool Set() const { return type != nullptr; }
};

// `args` as after `citysize` on the command line ("run", options, controls); `bytes` (with
// `source` naming it) replaces the data file when given; `folders` are where USData.csv and
// the outlines are looked for.
RunOutput Run(const std::vector<std::string>& args, const std::optional<py::bytes>& bytes, const std::string& source,
              const std::vector<std::string>& folders) {
    RunOptions o;
    std::ostringstream err;
    if (!ParseRun(args, o, err)) Fail(Message(err.str()));
    TextSource memory;
    if (bytes) memory = {std::string(*bytes), source};

    RunOutput out;
    Pending pending;
    std::string failed;
    {
        py::gil_scoped_release unlocked;
        Form f(DataPath(o, folders));
        try {
            SetUpForm(f, o, folders);
        } catch (const RunError& e) {
            failed = e.what();
        }
        // Long fits check for Ctrl-C between steps and cancel through the fit's own flag.
        std::atomic<bool> cancel{false};
        auto lastCheck = std::chrono::steady_clock::now();
        f.runLongFit = [&](const std::function<void(const TailFitControl&)>& work) {
            TailFitControl control;
            control.cancel = &cancel;
            control.progress = [&](long, long) {
                const auto now = std::chrono::steady_clock::now();
                if (now - lastCheck < std::chrono::milliseconds(20) || pending.Set()) return;
                lastCheck = now;
                py::gil_scoped_acquire locked;
                if (PyErr_CheckSignals() != 0) {
                    PyErr_Fetch(&pending.type, &pending.value, &pending.trace);
                    cancel = true;
                }
            };
            work(control);
        };
        if (failed.empty())
            failed = RunSteps(f, o, [&](const std::string& w) { out.warnings.push_back(w); }, bytes ? &memory : nullptr);
        if (failed.empty() && !o.pin.empty()) {
            f.Pinned = FindPlace(f, o.pin);
            if (!f.Pinned) failed = "--pin: no place named \"" + o.pin + "\"";
        }
        if (failed.empty()) {
            for (const ResultTable& t : f.Text.Tables) out.tables.push_back(t.ToCsv());
            out.text = f.Text.ToString();
            out.picture = std::make_shared<PictureBytes>(
                f.Picture1, f.Pinned, f.selection.Empty() ? std::vector<char>{} : f.selection.Membership());
            out.title = f.DataTitle;
            if (f.HasData()) {
                std::ostringstream places;
                WritePlacesCsv(*f.data, places);
                out.places = places.str();
            }
        }
    }
    if (pending.Set()) {
        PyErr_Restore(pending.type, pending.value, pending.trace);
        throw py::error_already_set();
    }
    if (!failed.empty()) Fail(failed);
    return out;
}

// Renders with the GIL released: a large map takes a while.
py::bytes Rendered(const std::function<std::string()>& render) {
    std::string bytes;
    std::string error;
    {
        py::gil_scoped_release unlocked;
        try {
            bytes = render();
        } catch (const RunError& e) {
            error = e.what();
        }
    }
    if (!error.empty()) Fail(error);
    return py::bytes(bytes);
}

}  // namespace

PYBIND11_MODULE(_citysize, m) {
    m.doc() = "citysize's analyses run as `citysize run` runs them (use the citysize package)";
    errorType = PyErr_NewExceptionWithDoc("citysize.Error",
                                          "A file that cannot be read, a refused option or control: the command line's message.",
                                          PyExc_ValueError, nullptr);
    m.add_object("Error", py::handle(errorType));

    py::class_<PictureBytes, std::shared_ptr<PictureBytes>>(m, "Picture")
        .def_property_readonly("width", [](const PictureBytes& p) { return p.Width(); })
        .def_property_readonly("height", [](const PictureBytes& p) { return p.Height(); })
        .def("png", [](const PictureBytes& p, double scale) { return Rendered([&] { return p.Png(scale); }); }, py::arg("scale") = 1.0)
        .def("png_sized", [](const PictureBytes& p, int w, int h) { return Rendered([&] { return p.PngSized(w, h); }); })
        .def("svg", [](const PictureBytes& p, double scale) { return Rendered([&] { return p.Svg(scale); }); }, py::arg("scale") = 1.0)
        .def("pdf", [](const PictureBytes& p) { return Rendered([&] { return p.Pdf(); }); });

    py::class_<RunOutput>(m, "RunOutput")
        .def_property_readonly("tables", [](const RunOutput& r) { return r.tables; })
        .def_property_readonly("text", [](const RunOutput& r) { return r.text; })
        .def_property_readonly("picture", [](const RunOutput& r) { return r.picture; })
        .def_property_readonly("places", [](const RunOutput& r) { return r.places; })
        .def_property_readonly("title", [](const RunOutput& r) { return r.title; })
        .def_property_readonly("warnings", [](const RunOutput& r) { return r.warnings; });

    m.def("run", &Run, py::arg("args"), py::arg("bytes") = std::nullopt, py::arg("source") = std::string(),
          py::arg("folders") = std::vector<std::string>{});
}
