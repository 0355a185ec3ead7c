// Making elements: a tag, its attributes and its children in one call.

// An HTML element; attributes that are false, null or undefined are left
// out, and true gives an empty attribute.
export function el(tag, attributes, ...children) {
  const node = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes || {})) {
    if (value === false || value === null || value === undefined) continue;
    node.setAttribute(name, value === true ? '' : String(value));
  }
  for (const child of children) {
    if (child === null || child === undefined || child === false) continue;
    node.append(child);
  }
  return node;
}

const SVG = 'http://www.w3.org/2000/svg';

// An SVG element with its attributes and children.
export function svg(tag, attributes, ...children) {
  const node = document.createElementNS(SVG, tag);
  for (const [name, value] of Object.entries(attributes || {})) {
    node.setAttribute(name, String(value));
  }
  for (const child of children) node.append(child);
  return node;
}

// The element id of a field's control.
export function idOf(name) {
  return 'f-' + name.replace(/\./g, '-');
}
