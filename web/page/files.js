// Scenario files: a file chosen by the player read as --scenario reads it,
// and the combat written as --save writes it.

// Reads a chosen file through the calculator: {messages, valid, values},
// as the calculator's reading gives them.  A file longer than `longest`
// bytes is refused unread, in the calculator's words: it could not be held
// in the module's memory.
export async function readFile(calc, file, longest) {
  if (file.size > longest) return calc.tooLongFile(file.name);
  const bytes = new Uint8Array(await file.arrayBuffer());
  return calc.read(bytes, file.name);
}

// Offers a scenario text as a file to download.
export function download(text, name) {
  const url = URL.createObjectURL(new Blob([text], {type: 'application/json'}));
  const link = document.createElement('a');
  link.href = url;
  link.download = name;
  link.hidden = true;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 1000);
}
