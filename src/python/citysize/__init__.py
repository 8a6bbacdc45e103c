"""citysize from Python: every command of `citysize run` on a table or a DataFrame.

    import citysize
    t = citysize.open("us-places-1790-2010.csv")      # the command line's options as keywords
    res = t.run("ReadData", "TailFit", replicates=0)  # the controls clicked, as `citysize run`
    res.tables[0]                                      # the --csv table as a DataFrame
    res.picture                                        # shown inline in a notebook

A file that cannot be read, a refused option or control raises citysize.Error (a ValueError)
with the command line's message; the warnings of a load are Python warnings (LoadWarning).
"""
from ._citysize import Error
from ._picture import Picture
from ._table import LoadWarning, Result, Table, data_path, from_frame, open

__all__ = ["Error", "LoadWarning", "Picture", "Result", "Table", "data_path", "from_frame", "open"]
